// The main controller: start-up order, the connection log, the single-instance message,
// closing and exiting.
#include <gtest/gtest.h>

#include "mainform_fixture.h"

namespace {

TEST(DialLogFormat, LinesHaveTimeKindAndTextBetweenTwoTabsAndKindColours) {
  EXPECT_EQ(FormatLogLine("09:05:01", LogKind::Message, "Opening port"),
            "09:05:01\tMessage\tOpening port\r\n");
  EXPECT_EQ(FormatLogLine("9:05:01 PM", LogKind::Error, "Error:676 The line is busy."),
            "9:05:01 PM\tError  \tError:676 The line is busy.\r\n");
  EXPECT_EQ(LogColor(LogKind::Message), 0xFF0000u);  // blue
  EXPECT_EQ(LogColor(LogKind::Error), 0x1029ECu);    // RGB(236,41,16)
}

TEST_F(MainformTest, StartupRunsEachStepOnceInOrder) {
  files_.content[kLogPath] = "an earlier run\r\n";
  form_ = std::make_unique<Tmainform>(ports_, view_, std::vector<std::string>{});
  auto& form = *form_;
  std::vector<std::string> steps;
  form.OnStartupStep = [&](const char* step) {
    // The log of an earlier run is gone before anything else happens.
    if (!steps.empty()) {
      EXPECT_FALSE(files_.Exists(kLogPath));
    }
    steps.push_back(step);
  };
  form.FormCreate();
  EXPECT_EQ(steps, (std::vector<std::string>{
                       "DeleteDialLog", "ResetToDefaults", "LoadSettings", "WriteProgName",
                       "ApplyWindowSettings", "WriteAutoDialSettings", "BuildAccountTable",
                       "FillConnectionList", "LoadAndApplyProfile", "ApplyAlwaysOnTop",
                       "RestoreKeepConnection", "LoadTimeRecords", "LoadActionsAndSchedules",
                       "ShowSavedView", "InstallHotKeys", "ConnectOnStartup"}));
  EXPECT_EQ(view_.title, "Tarvolin");
  EXPECT_EQ(view_.caption_label, "Tarvolin 3.0");
  EXPECT_EQ(view_.left, 200);
  EXPECT_EQ(view_.online_label, "Offline");
  ASSERT_EQ(view_.rows.size(), 2u);
  EXPECT_TRUE(view_.rows[0].Selected);
  EXPECT_FALSE(view_.rows[1].Selected);
  EXPECT_EQ(form.DialUp.Entry, "First");
  EXPECT_TRUE(form.UserHungUp);
  EXPECT_FALSE(form.Dialing);  // no "AutoDial": nothing is dialed
}

TEST_F(MainformTest, WriteDialLogUpdatesTheStatusAlwaysAndReportsOnlyTheFirstFailure) {
  auto& form = Start();
  form.WriteDialLog("Opening port", LogKind::Message);
  form.WriteDialLog("Error:676 busy", LogKind::Error);
  EXPECT_EQ(files_.content[kLogPath],
            "12:34:56\tMessage\tOpening port\r\n12:34:56\tError  \tError:676 busy\r\n");
  EXPECT_EQ(view_.status, "Error:676 busy");
  EXPECT_EQ(view_.status_color, LogColor(LogKind::Error));

  files_.writable = false;
  form.WriteDialLog("first lost line", LogKind::Message);
  form.WriteDialLog("second lost line", LogKind::Message);
  ASSERT_EQ(prompts_.errors.size(), 1u);
  EXPECT_NE(prompts_.errors[0].find(kLogPath), std::string::npos);
  EXPECT_NE(prompts_.errors[0].find("Access denied."), std::string::npos);
  EXPECT_EQ(view_.status, "second lost line");
  EXPECT_EQ(view_.status_color, LogColor(LogKind::Message));

  files_.writable = true;
  form.Settings.CkbWriteLogs = false;
  form.WriteDialLog("not logged", LogKind::Error);
  EXPECT_EQ(view_.status, "not logged");
  EXPECT_EQ(files_.content[kLogPath].find("not logged"), std::string::npos);
}

TEST_F(MainformTest, ViewLogsOpensTheLogOrSaysThereIsNone) {
  auto& form = Start();
  form.ViewLogs1Click();
  EXPECT_EQ(prompts_.information, std::vector<std::string>{"No logs exist."});
  EXPECT_TRUE(shell_.opened.empty());
  form.WriteDialLog("something", LogKind::Message);
  form.ViewLogs1Click();
  EXPECT_EQ(shell_.opened, std::vector<std::string>{kLogPath});
}

TEST_F(MainformTest, ClosingHidesUnlessExitWasChosenAndTheShowMessageBringsItBack) {
  auto& form = Start();
  EXPECT_FALSE(form.FormClose());
  EXPECT_TRUE(form.HiddenToTray);
  EXPECT_FALSE(view_.visible);

  form.UserMessage(7);  // unknown requests are ignored
  EXPECT_FALSE(view_.visible);
  form.UserMessage(0);
  EXPECT_TRUE(view_.visible);
  EXPECT_FALSE(form.HiddenToTray);
  EXPECT_EQ(view_.raised, 1);

  form.Exit1Click();
  EXPECT_EQ(view_.close_requests, 1);
  EXPECT_TRUE(form.FormClose());
  EXPECT_TRUE(form.UserHungUp);
}

TEST_F(MainformTest, AutoDialArgumentAndDialMessageDialTheFirstEntryOnce) {
  auto& form = Start({"AutoDial"});
  EXPECT_TRUE(form.Dialing);
  EXPECT_FALSE(form.UserHungUp);
  EXPECT_EQ(files_.content[kLogPath], "12:34:56\tMessage\tConnecting to First...\r\n");
  form.UserMessage(1);  // already dialing: no second dial
  ASSERT_TRUE(ui_.RunUntil([&] { return form.Online; }));
  EXPECT_EQ(view_.online_label, "Online");
  const std::string log = files_.content[kLogPath];
  EXPECT_EQ(log.find("Connecting to First..."), log.rfind("Connecting to First..."));
  EXPECT_EQ(view_.status, "Connected to server: 10.0.0.1");
  EXPECT_NE(log.find("\tMessage\tConnected to server: 10.0.0.1\r\n"), std::string::npos);
}

TEST_F(MainformTest, ArgumentsOtherThanAutoDialInExactCaseDoNotDial) {
  auto& form = Start({"autodial", "/AutoDial"});
  EXPECT_FALSE(form.Dialing);
}

}  // namespace

namespace {

// A system without RAS: every entry point is missing.
class NoRasLoader : public LibraryLoader {
 public:
  Library Load(const std::string&) override { return nullptr; }
  void* Find(Library, const std::string&) override { return nullptr; }
  void Free(Library) override {}
};

TEST_F(MainformTest, WithoutRasTheMonitorSaysSoOnceAndKeepsTicking) {
  NoRasLoader no_ras;
  RasApi ras(no_ras);
  MainPorts ports{ras,      ui_,       clock_,    locale_,   files_, shell_,
                  prompts_, registry_, profiles_, keyboard_, sound_, desktop_};
  Tmainform form(ports, view_, {});
  for (int tick = 0; tick < 9; ++tick)
    form.CheckTimerTimer();
  EXPECT_EQ(prompts_.errors, std::vector<std::string>{"Error opening rasapi.dll\n"});
}

}  // namespace
