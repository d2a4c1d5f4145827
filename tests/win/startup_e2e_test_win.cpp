// End to end: start-up, the single-instance rule, hiding, exit and the connection log.
#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "driver.h"
#include "commands/command_ids.h"

namespace {

constexpr const char* kPhonebook =
    "[Alpha]\nPhoneNumber=555-0100\nOutcome=connect\nStepDelayMs=20\nServerIP=127.1.2.3\n"
    "[Busy Line]\nPhoneNumber=555-0199\nOutcome=busy\nStepDelayMs=20\n";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    EXPECT_FALSE(line.empty() || line.back() != '\r') << "line without CR LF: " << line;
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The text after the second TAB; also checks the kind field.
std::string LineText(const std::string& line, const std::string& kind) {
  const auto first = line.find('\t');
  const auto second = line.find('\t', first + 1);
  EXPECT_NE(first, std::string::npos);
  EXPECT_NE(second, std::string::npos);
  EXPECT_EQ(line.substr(first + 1, second - first - 1), kind) << line;
  return line.substr(second + 1);
}

bool LogHas(const Tarvolin& app, const std::string& text) {
  return app.ReadFile("DialLog.TXT").find(text) != std::string::npos;
}

}  // namespace

TEST(StartupE2E, SecondStartRaisesTheFirstWithoutSplashAndCloseOnlyHides) {
  Tarvolin app;
  app.WritePhonebook(kPhonebook);
  app.Start();
  ASSERT_TRUE(app.WaitForMainWindow());
  ASSERT_TRUE(WaitUntil([&] { return app.MainWindowVisible(); }));

  auto run = app.RunSecondInstance();
  EXPECT_TRUE(run.Ended);
  EXPECT_FALSE(run.ShowedSplash);
  EXPECT_TRUE(app.Running());

  // Closing the window keeps the program alive, hidden.
  app.PostToMain(WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !app.MainWindowVisible(); }));
  EXPECT_TRUE(app.Running());

  // A second start brings it back.
  run = app.RunSecondInstance();
  EXPECT_TRUE(run.Ended);
  EXPECT_FALSE(run.ShowedSplash);
  EXPECT_TRUE(WaitUntil([&] { return app.MainWindowVisible(); }));

  app.Command(IDM_EXIT1);
  EXPECT_TRUE(app.WaitForExit());
}

TEST(StartupE2E, AutoDialLogsTheWholeDialAndEachRunStartsAFreshLog) {
  Tarvolin app;
  app.WritePhonebook(kPhonebook);
  app.WriteFile("DialLog.TXT", "left over from an earlier run\r\n");
  app.Start("AutoDial");
  ASSERT_TRUE(app.WaitForMainWindow());
  ASSERT_TRUE(WaitUntil([&] { return app.Text(IDC_LBLONLINE) == "Online"; }));
  // The line goes online, then the status says so, then the log's last line is written.
  EXPECT_TRUE(WaitUntil([&] { return LogHas(app, "\tConnected to server: 127.1.2.3\r\n"); }))
      << app.ReadFile("DialLog.TXT");
  EXPECT_EQ(app.Text(IDC_LBLSTATUS), "Connected to server: 127.1.2.3");

  const auto lines = Lines(app.ReadFile("DialLog.TXT"));
  const std::vector<std::string> expected = {
      "Connecting to Alpha...", "Opening port",     "Port opened",
      "Connecting device",      "Device connected", "All devices connected",
      "Start authenticating",   "Authenticated",    "Connected to server: 127.1.2.3"};
  ASSERT_EQ(lines.size(), expected.size());
  for (size_t i = 0; i < lines.size(); ++i)
    EXPECT_EQ(LineText(lines[i], "Message"), expected[i]);

  app.Command(IDM_EXIT1);
  ASSERT_TRUE(app.WaitForExit());

  app.Start();
  ASSERT_TRUE(app.WaitForMainWindow());
  // The window is there before the start-up's steps, the first of which removes the log.
  EXPECT_TRUE(WaitUntil([&] { return !app.FileExists("DialLog.TXT"); }));
  app.Click(IDC_BTNHANGUP);
  ASSERT_TRUE(WaitUntil([&] { return LogHas(app, "Disconnected"); }));
  const auto second_run = Lines(app.ReadFile("DialLog.TXT"));
  ASSERT_EQ(second_run.size(), 1u);
  EXPECT_EQ(LineText(second_run[0], "Message"), "Disconnected");
}

TEST(StartupE2E, AnUnwritableLogShowsOneErrorAndTheDialStillCompletes) {
  Tarvolin app;
  app.WritePhonebook(kPhonebook);
  // A folder in the log file's place: start-up cannot delete it and no line can be written.
  ASSERT_TRUE(CreateDirectoryA((app.Dir() + "DialLog.TXT").c_str(), nullptr));
  app.Start("AutoDial");
  ASSERT_TRUE(app.WaitForMainWindow());
  EXPECT_NE(app.AnswerMessageBox("Error", "DialLog.TXT", IDOK), "");
  ASSERT_TRUE(WaitUntil([&] { return app.Text(IDC_LBLONLINE) == "Online"; }));
  // The status line follows the online label at the end of the same handler.
  EXPECT_TRUE(WaitUntil([&] {
    return app.Text(IDC_LBLSTATUS) == "Connected to server: 127.1.2.3";
  })) << app.Text(IDC_LBLSTATUS);
  EXPECT_EQ(app.FindTopLevel("Error"), nullptr);
  RemoveDirectoryA((app.Dir() + "DialLog.TXT").c_str());
}

TEST(StartupE2E, ExitWhileDialingEndsTheProgram) {
  Tarvolin app;
  app.WritePhonebook("[Slow]\nOutcome=connect\nStepDelayMs=2000\n");
  app.Start("AutoDial");
  ASSERT_TRUE(app.WaitForMainWindow());
  ASSERT_TRUE(WaitUntil([&] { return app.Text(IDC_LBLONLINE) == "Dialing"; }));
  app.Command(IDM_EXIT1);
  EXPECT_TRUE(app.WaitForExit());
}

namespace {

bool OnAMonitor(Hwnd window) {
  RECT rect;
  GetWindowRect(static_cast<HWND>(window), &rect);
  return MonitorFromRect(&rect, MONITOR_DEFAULTTONULL) != nullptr && rect.top >= 0;
}

TEST(StartupE2E, APositionOffEveryMonitorStartsOnScreenAndMinimisedExitKeepsTheRestoredOne) {
  ClearUserRegistry();
  SetUserRegistryNumber("Software\\Tarvolin", "Left", static_cast<uint32_t>(-32000));
  SetUserRegistryNumber("Software\\Tarvolin", "Top", static_cast<uint32_t>(-32000));
  Tarvolin app;
  ASSERT_TRUE(app.StartWith(kPhonebook));
  const HWND main = static_cast<HWND>(app.MainWindow());
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) && OnAMonitor(main); }));

  // Minimised by the skin's button, then Exit from the tray menu.
  RECT restored;
  GetWindowRect(main, &restored);
  PostMessageA(main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(465, 15));
  PostMessageA(main, WM_LBUTTONUP, 0, MAKELPARAM(465, 15));
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(main) != FALSE; }));
  app.Command(IDM_EXIT2);
  ASSERT_TRUE(app.WaitForExit());
  EXPECT_EQ(UserRegistryNumber("Software\\Tarvolin", "Left"), restored.left);
  EXPECT_EQ(UserRegistryNumber("Software\\Tarvolin", "Top"), restored.top);
}

// The setup's record of a take-over is said once, before the main window, with the
// connection whose own number is not its phonebook entry's as RAS reads that entry.
TEST(StartupE2E, ATakeOverIsSaidAtTheFirstStartWithTheConnectionsThatDialTheirOwnNumber) {
  Tarvolin app;
  app.WritePhonebook(kPhonebook);
  app.WriteFile("Entries.ini", "[Alpha]\r\nPN=555-0111\r\n[Busy Line]\r\nPN=555-0199\r\n");
  SetUserRegistryText("Software\\Tarvolin", "TakenOverFrom", "C:\\Program Files\\Tarvolin");
  SetUserRegistryText("Software\\Tarvolin", "TakenOver", "Entries.ini, Schedules.ini");
  app.Start();
  const std::string notice = app.AnswerMessageBox("Information", "took over", IDOK);
  EXPECT_NE(notice.find("in C:\\Program Files\\Tarvolin: Entries.ini, Schedules.ini."),
            std::string::npos)
      << notice;
  EXPECT_NE(notice.find("the schedules are switched off"), std::string::npos) << notice;
  EXPECT_NE(notice.find("\r\nAlpha: 555-0111 (the phonebook has 555-0100)"), std::string::npos)
      << notice;
  EXPECT_EQ(notice.find("Busy Line"), std::string::npos) << notice;
  ASSERT_TRUE(app.WaitForMainWindow());
  EXPECT_EQ(UserRegistryText("Software\\Tarvolin", "TakenOver"), "<missing>");
  app.Command(IDM_EXIT1);
  EXPECT_TRUE(app.WaitForExit());
}

}  // namespace
