// End to end: a due Connect schedule dials, a Disconnect schedule's question answered No
// leaves the line up, the schedule dialogs edit Schedules.ini, and a Daily schedule runs
// again when the program's clock moves on a day.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver.h"
#include "platform/numbers.h"
#include "platform/win_helpers.h"
#include "schedule/schedule_ids.h"
#include "commands/command_ids.h"

namespace {

constexpr const char* kPhonebook = "[Home]\nStepDelayMs=10\nServerIP=127.0.2.1\n";

// A schedule of `period` (0 only once, 2 daily) set `seconds` from now (negative: in the
// past), valid ten minutes.
std::string Task(int event, int period, int seconds, bool confirm) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  const std::string at = FormatReal(FromSystemTime(now) + seconds / 86400.0, '.');
  return "[Schedule0]\r\nEventType=" + std::to_string(event) +
         "\r\nPeriod=" + std::to_string(period) + "\r\nDateTime01=" + at + "\r\nTime21=" + at +
         "\r\nTime32=0\r\nTime42=0\r\nConfirm=" + (confirm ? "1" : "0") + "\r\n";
}

// The clock of this test and the programs it starts, moved by an offset in seconds that
// the file FAKETIME_TIMESTAMP_FILE holds: the test's ctest entry preloads libfaketime
// into them (the wineserver, started before, keeps the real time); the tick count stays
// real.
class ProgramClock {
 public:
  ProgramClock() {
    char path[MAX_PATH] = "";
    if (GetEnvironmentVariableA("FAKETIME_TIMESTAMP_FILE", path, MAX_PATH) > 0)
      file_ = std::string("Z:") + path;
  }
  bool Available() const { return !file_.empty(); }
  void MoveOn(int seconds) const {
    HANDLE file = CreateFileA(file_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              0, nullptr);
    std::string text(1, '+');
    text += std::to_string(seconds);
    text += '\n';
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
  }

 private:
  std::string file_;
};

class ScheduleE2E : public ::testing::Test {
 protected:
  int LogCount(const std::string& text) const { return app_.LogCount(text); }
  bool Online() const { return app_.Online(); }

  // Opens "Schedules" from the menu.
  Hwnd OpenList() const {
    app_.Command(IDM_SCHEDULE1);
    return app_.WaitForTopLevel("Schedules");
  }
  std::vector<std::string> Tasks(Hwnd list) const {
    std::vector<std::string> tasks;
    for (const ListRow& row : app_.ListRowsOf(ChildOf(list, IDC_SCHEDULELIST)))
      tasks.push_back(row.Text + " " + row.SubText);
    return tasks;
  }
  // Presses a button of the list that opens the edit dialog, and waits for it.
  Hwnd OpenForm(Hwnd list, int button, const std::string& title) const {
    ClickChild(list, button);
    return app_.WaitForTopLevel(title);
  }

  Tarvolin app_;
};

TEST_F(ScheduleE2E, ADueConnectScheduleDialsTheSelectedConnection) {
  SetUserRegistryNumber("Software\\Tarvolin", "CkbEnableAllSchedules", 1);
  app_.WriteFile("Schedules.ini", Task(0, 0, 3, false));
  ASSERT_TRUE(app_.StartWith(kPhonebook));
  ASSERT_TRUE(WaitUntil([&] { return Online(); }));
  EXPECT_EQ(LogCount("\tMessage\tPerform schedule task:\"Connect\"\r\n"), 1);
  EXPECT_EQ(LogCount("Connecting to Home..."), 1);
}

TEST_F(ScheduleE2E, NoToADisconnectQuestionLeavesTheLineUp) {
  app_.WriteFile("Schedules.ini", Task(1, 0, -60, true));
  ASSERT_TRUE(app_.StartWith(kPhonebook));
  app_.Click(IDC_BTNDIAL);
  ASSERT_TRUE(WaitUntil([&] { return Online(); }));
  // Schedules are off until the list's box turns them on.
  const Hwnd list = OpenList();
  ASSERT_NE(list, nullptr);
  ClickChild(list, IDC_CKBENABLEALLSCHEDULES);
  ClickChild(list, IDOK);
  EXPECT_EQ(app_.AnswerMessageBox("Confirm", "Disconnect", IDNO),
            "Perform schedule task:\"Disconnect\",Continue?");
  // Two more ticks of the program's clock: the schedules were looked at again since.
  const int answered = app_.SessionSeconds();
  ASSERT_TRUE(WaitUntil([&] { return app_.SessionSeconds() >= answered + 2; }));
  EXPECT_TRUE(Online());
  EXPECT_EQ(app_.FindTopLevel("Confirm"), nullptr);
  EXPECT_EQ(LogCount("Perform schedule task"), 0);
}

TEST_F(ScheduleE2E, TheDialogsAddEditAndRemoveSchedulesAndOkWritesThem) {
  ASSERT_TRUE(app_.StartWith(kPhonebook));
  Hwnd list = OpenList();
  ASSERT_NE(list, nullptr);
  EXPECT_FALSE(IsWindowEnabled(static_cast<HWND>(ChildOf(list, IDC_BTNADDSCHEDULE))));
  ClickChild(list, IDC_CKBENABLEALLSCHEDULES);

  Hwnd form = OpenForm(list, IDC_BTNADDSCHEDULE, "New Schedule");
  ASSERT_NE(form, nullptr);
  ClickChild(form, IDC_RBPERIOD0 + 2);  // Daily
  ClickChild(form, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return Tasks(list).size() == 1; }));

  app_.SelectRowOf(ChildOf(list, IDC_SCHEDULELIST), 0);
  form = OpenForm(list, IDC_BTNEDITSCHEDULE, "Edit Schedule");
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(ChildChecked(form, IDC_RBPERIOD0 + 2));
  ClickChild(form, IDC_RBEVENT0 + 1);  // Disconnect
  ClickChild(form, IDOK);
  ASSERT_TRUE(
      WaitUntil([&] { return Tasks(list) == std::vector<std::string>{"Disconnect Daily"}; }));

  form = OpenForm(list, IDC_BTNADDSCHEDULE, "New Schedule");
  ASSERT_NE(form, nullptr);
  ClickChild(form, IDC_RBPERIOD5);
  SetChildText(form, IDC_EDPERIODOFVALIDITY, "25");
  ClickChild(form, IDC_CKBCONFIRMSCHEDULE);
  ClickChild(form, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return Tasks(list).size() == 2; }));
  app_.SelectRowOf(ChildOf(list, IDC_SCHEDULELIST), 0);
  ClickChild(list, IDC_BTNDELETESCHEDULE);
  ASSERT_TRUE(WaitUntil([&] { return Tasks(list) == std::vector<std::string>{"Connect Loop"}; }));

  ClickChild(list, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return app_.FileExists("Schedules.ini"); }));
  const std::string file = app_.ReadFile("Schedules.ini");
  EXPECT_NE(file.find("[Schedule0]\r\nEventType=0\r\nPeriod=5\r\n"), std::string::npos) << file;
  EXPECT_NE(file.find("PeriodOfValidity=25\r\nConfirm=1\r\n"), std::string::npos) << file;
  EXPECT_EQ(file.find("[Schedule1]"), std::string::npos) << file;
}

// As after a night asleep: the schedule that ran yesterday is due again, without a restart.
TEST_F(ScheduleE2E, ADailyScheduleRunsAgainWhenTheClockMovesOnADay) {
  const ProgramClock clock;
  if (!clock.Available())
    GTEST_SKIP() << "run by ctest, which moves the program's clock with libfaketime";
  clock.MoveOn(0);
  SetUserRegistryNumber("Software\\Tarvolin", "CkbEnableAllSchedules", 1);
  app_.WriteFile("Schedules.ini", Task(1, 2, 4, true));
  ASSERT_TRUE(app_.StartWith(kPhonebook));
  const std::string question = "Perform schedule task:\"Disconnect\",Continue?";
  EXPECT_EQ(app_.AnswerMessageBox("Confirm", "Disconnect", IDNO), question);
  // Once on its day: the schedules are looked at every second.
  EXPECT_TRUE(HoldsFor([&] { return app_.FindTopLevel("Confirm") == nullptr; }, 1500));
  clock.MoveOn(86400);
  EXPECT_EQ(app_.AnswerMessageBox("Confirm", "Disconnect", IDNO), question);
  app_.Kill();
  clock.MoveOn(0);
}

}  // namespace
