// End to end: the handler the program registers in its entries, found and called as the
// system's automatic dialing does from a process of its own, hands the entry to the
// running or a newly started tarvolin.exe and answers from what RAS shows.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "commands/command_ids.h"
#include "driver.h"

namespace {

constexpr const char* kPhonebook =
    "[Alpha]\nPhoneNumber=555-0100\nStepDelayMs=20\n"
    "[Beta]\nPhoneNumber=555-0101\nStepDelayMs=20\n";

class AutoDialE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(
        CopyFileA((TestBinDir() + "tvndl.dll").c_str(), (app_.Dir() + "tvndl.dll").c_str(), FALSE));
    SetUserRegistryNumber("Software\\Tarvolin", "CkbAutoDial", 1);
  }

  // What the system's automatic dialing got from the handler the entry names, asked from
  // a process of its own: the handler's code, 9000 for FALSE (see autodial_system).
  DWORD Request(const std::string& entry) {
    std::string command = TestBinDir() + "autodial_system.exe";
    command = "\"" + command + "\" " + entry;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        TestBinDir().c_str(), &startup, &info))
      return ~0u;
    WaitForSingleObject(info.hProcess, 150000);
    DWORD code = ~0u;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return code;
  }

  // A program the library started is no child of the driver's: it is ended here, also
  // when the test stopped early, so that no later test finds it running.
  void TearDown() override {
    app_.Kill();
    HWND window = FindWindowA("TTarvolinMainForm", nullptr);
    if (!window)
      return;
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
      TerminateProcess(process, 0);
      EXPECT_EQ(WaitForSingleObject(process, kWaitCeilingMs), WAIT_OBJECT_0);
      CloseHandle(process);
    }
  }

  bool Dialed(const std::string& entry) {
    const std::string log = app_.ReadFile("DialLog.TXT");
    return log.find("Connecting to " + entry + "...") != std::string::npos &&
           log.find("Connected to server") != std::string::npos;
  }

  Tarvolin app_;
};

TEST_F(AutoDialE2E, TheRunningProgramDialsTheEntryAndDeclinesAnotherWhileOnline) {
  ASSERT_TRUE(app_.StartWith(kPhonebook));
  // Another window with the program's title, as a folder window named after it would be.
  HWND decoy = CreateWindowExA(0, "STATIC", "Tarvolin", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               nullptr, nullptr);
  ASSERT_NE(decoy, nullptr);
  EXPECT_EQ(Request("Beta"), 0u);
  // The handler answers once RAS shows the line up; the program logs the server after.
  EXPECT_TRUE(WaitUntil([&] { return Dialed("Beta"); })) << app_.ReadFile("DialLog.TXT");
  EXPECT_FALSE(Dialed("Alpha"));
  const auto rows = app_.ListRows(IDC_CNLIST);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1].Image, 0);  // Beta carries the selection mark
  EXPECT_NE(rows[0].Image, 0);

  // The line is up: its entry is answered at once, another is declined.
  EXPECT_EQ(Request("Beta"), 0u);
  EXPECT_EQ(Request("Alpha"), 1223u);
  EXPECT_FALSE(Dialed("Alpha"));
  DestroyWindow(decoy);
}

TEST_F(AutoDialE2E, AProgramNotRunningIsStartedAndDialsTheEntry) {
  // A run of the program registers the handler in the entries; then it is not running.
  ASSERT_TRUE(app_.StartWith(kPhonebook));
  app_.Kill();
  EXPECT_EQ(Request("Beta"), 0u);
  EXPECT_TRUE(WaitUntil([&] { return Dialed("Beta"); })) << app_.ReadFile("DialLog.TXT");
  EXPECT_NE(FindWindowA("TTarvolinMainForm", nullptr), nullptr);
}

}  // namespace
