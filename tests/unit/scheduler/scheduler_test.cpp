// The schedules at run time: what comes due performs its task as the user's command
// would, asks first when told to, and a question's own ticks never ask twice.
#include <gtest/gtest.h>

#include <string>

#include "app/mainform_fixture.h"
#include "commands/command_ids.h"
#include "platform/date_time.h"
#include "platform/numbers.h"

namespace {

constexpr const char* kSchedules = "C:\\Tarvolin\\Schedules.ini";
const double kTen = ToDateTime({2026, 6, 1, 10, 0, 0});

std::string Task(int slot, int event, bool confirm, int period = kOnlyOnce) {
  return "[Schedule" + std::to_string(slot) + "]\r\nEventType=" + std::to_string(event) +
         "\r\nPeriod=" + std::to_string(period) + "\r\nDateTime01=" + FormatReal(kTen, '.') +
         "\r\nMinute11=15\r\nTime21=0\r\nTime32=0\r\nTime42=0\r\nConfirm=" + (confirm ? "1" : "0") +
         "\r\n";
}

class SchedulerTest : public MainformTest {
 protected:
  Tmainform& StartWith(const std::string& schedules, bool enabled = true) {
    files_.content[kSchedules] = schedules;
    clock_.SetLocalStart(kTen);
    Tmainform& form = Start();
    form.Settings().CkbEnableAllSchedules = enabled;
    return form;
  }
  static std::string Question(const std::string& task) {
    return "Confirm: Perform schedule task:\"" + task + "\",Continue?";
  }
  static std::string Done(const std::string& task) {
    return "\tMessage\tPerform schedule task:\"" + task + "\"\r\n";
  }
};

TEST_F(SchedulerTest, AConnectScheduleDialsOnceWhenSchedulesAreEnabled) {
  Tmainform& form = StartWith(Task(0, kConnect, false), false);
  form.CheckTimerTimer();
  EXPECT_EQ(form.Schedules().Table()[0].LastPerformed, 0);
  EXPECT_FALSE(form.Schedules().Table()[0].Performed);
  EXPECT_FALSE(form.Dialing().Dialing());

  form.Settings().CkbEnableAllSchedules = true;
  form.CheckTimerTimer();
  form.CheckTimerTimer();
  EXPECT_EQ(LogCount(Done("Connect")), 1);
  EXPECT_TRUE(form.Dialing().Dialing());
  EXPECT_EQ(form.Schedules().Table()[0].LastPerformed, kTen);
}

TEST_F(SchedulerTest, ADeclinedQuestionStillCountsAsPerformed) {
  prompts_.answer_yes = false;
  Tmainform& form = StartWith(Task(0, kConnect, true));
  form.Schedules().CheckSchedules();
  form.Schedules().CheckSchedules();
  EXPECT_EQ(prompts_.questions, std::vector<std::string>{Question("Connect")});
  EXPECT_EQ(LogCount("Perform schedule task"), 0);
  EXPECT_FALSE(form.Dialing().Dialing());
}

TEST_F(SchedulerTest, SchedulesDueTogetherRunInSlotOrderAndNestedTicksAskNothingTwice) {
  system_.shutdown_allowed = false;
  const std::string both = Task(0, kDisconnect, true) + Task(1, kShutDown, true);
  StartWith(both).Schedules().CheckSchedules();
  const std::vector<std::string> in_order = {Question("Disconnect"), Question("Shun down PC")};
  EXPECT_EQ(prompts_.questions, in_order);
  EXPECT_EQ(LogCount("Perform schedule task:\"Disconnect\""), 0);  // offline: nothing to do
  EXPECT_EQ(LogCount(Done("Shun down PC")), 1);
  EXPECT_EQ(LogCount("\tError  \tUnable to shut down: A required privilege"), 1);

  // The box's message loop keeps ticking while it waits for an answer.
  prompts_.questions.clear();
  Tmainform& form = StartWith(both);
  int depth = 0;
  prompts_.while_asking = [&] {
    if (depth++ == 0)
      form.CheckTimerTimer();
  };
  form.Schedules().CheckSchedules();
  EXPECT_EQ(prompts_.questions, in_order);
  EXPECT_EQ(system_.shutdowns, 2);
}

TEST_F(SchedulerTest, OnlineAConnectAsksNothingAndADisconnectHangsUp) {
  Tmainform& form = StartWith(Task(0, kConnect, true) + Task(1, kDisconnect, false), false);
  form.Dial1Click();
  ASSERT_TRUE(ui_.RunUntil([&] { return form.Dialing().Online(); }));
  form.Settings().CkbEnableAllSchedules = true;
  form.Schedules().CheckSchedules();
  EXPECT_TRUE(prompts_.questions.empty());
  EXPECT_TRUE(form.Schedules().Table()[0].Performed);
  EXPECT_EQ(LogCount("Perform schedule task:\"Connect\""), 0);
  EXPECT_EQ(LogCount(Done("Disconnect")), 1);
  EXPECT_FALSE(form.Dialing().Online());
}

TEST_F(SchedulerTest, AnHourlyScheduleIsReArmedOnlyByACallAtTheFullHour) {
  Tmainform& form = StartWith(Task(0, kDisconnect, false, kHourly));
  auto check_at = [&](int hour, int minute) {
    clock_.SetLocalStart(ToDateTime({2026, 6, 1, hour, minute, 0}));
    form.Schedules().CheckSchedules();
    return form.Schedules().Table()[0].LastPerformed;
  };
  const double first = check_at(10, 16);
  EXPECT_EQ(first, ToDateTime({2026, 6, 1, 10, 16}));
  EXPECT_EQ(check_at(11, 16), first);
  check_at(12, 0);
  EXPECT_EQ(check_at(12, 16), ToDateTime({2026, 6, 1, 12, 16}));
}

TEST_F(SchedulerTest, TheListDialogWorksFromTheFileAndItsOkSavesTheTableAndTheEnableBox) {
  Tmainform& form = StartWith(Task(0, kConnect, false, kLoop), false);
  clock_.SetLocalStart(kTen + 1);
  form.Schedules().CheckSchedules();
  files_.content[kSchedules] += Task(1, kShutDown, false);
  form.Schedule1Click();  // cancelled: the file is read again all the same
  EXPECT_EQ(form.Schedules().Table()[0].LastPerformed, kTen + 1);
  EXPECT_TRUE(form.Schedules().Table()[1].InUse);

  view_.schedule_list = [](ScheduleListModel model) {
    EXPECT_FALSE(model.EnableAllSchedules());
    model.SetEnableAllSchedules(true);
    model.Remove(1);
    return std::optional(model.Result());
  };
  form.ControlClick(IDC_BTNSCHEDULE);
  EXPECT_EQ(view_.schedule_lists, 2);
  EXPECT_TRUE(form.Settings().CkbEnableAllSchedules);
  EXPECT_EQ(profiles_.Sections(kSchedules), std::vector<std::string>{"Schedule0"});
  EXPECT_EQ(files_.content["C:\\Tarvolin\\Schedules.bak"],
            Task(0, kConnect, false, kLoop) + Task(1, kShutDown, false));
}

}  // namespace
