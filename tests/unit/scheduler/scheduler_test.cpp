// The schedules at run time: what comes due performs its task as the user's command
// would, asks first when told to, and a question's own ticks never ask twice.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "accounting/time_records.h"
#include "app/mainform_fixture.h"
#include "commands/command_ids.h"
#include "platform/date_time.h"
#include "platform/numbers.h"

namespace {

constexpr const char* kSchedules = "C:\\Tarvolin\\Schedules.ini";
const double kTen = ToDateTime({2026, 6, 1, 10, 0, 0});

std::string Task(int slot, int event, bool confirm, int period = kOnlyOnce,
                 const std::string& more = "") {
  return "[Schedule" + std::to_string(slot) + "]\r\nEventType=" + std::to_string(event) +
         "\r\nPeriod=" + std::to_string(period) + "\r\nDateTime01=" + FormatReal(kTen, '.') +
         "\r\nMinute11=15\r\nTime21=0\r\nTime32=0\r\nTime42=0\r\nConfirm=" + (confirm ? "1" : "0") +
         "\r\n" + more;
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
  // Checks the schedules every `step_ms` of fake time for `ms`, as the monitor would, and
  // records each question with the local time it was asked at. Every schedule asks (a
  // confirmation answered No), so each question is one performance.
  struct Asked {
    std::string question;
    double local;
    uint64_t monotonic_ms;
  };
  std::vector<Asked> Run(Tmainform& form, uint64_t ms, uint64_t step_ms = 20000) {
    std::vector<Asked> asked;
    prompts_.answer_yes = false;
    prompts_.while_asking = [&] {
      asked.push_back({prompts_.questions.back(), clock_.LocalNow(), clock_.Now()});
    };
    const uint64_t until = clock_.Now() + ms;
    while (clock_.Now() < until) {
      clock_.Advance(step_ms);
      form.Schedules().CheckSchedules();
    }
    EXPECT_EQ(clock_.Now(), until) << "the run stopped short";
    prompts_.while_asking = nullptr;
    return asked;
  }
  static int Count(const std::vector<Asked>& asked, const std::string& task) {
    return static_cast<int>(std::count_if(
        asked.begin(), asked.end(), [&](const Asked& a) { return a.question == Question(task); }));
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
  form.Settings().CkbDetailedLog = true;
  form.Schedules().CheckSchedules();
  EXPECT_TRUE(prompts_.questions.empty());
  EXPECT_TRUE(form.Schedules().Table()[0].Performed);
  EXPECT_EQ(LogCount("Perform schedule task:\"Connect\""), 0);
  EXPECT_EQ(LogCount(Done("Disconnect")), 1);
  EXPECT_FALSE(form.Dialing().Online());
  EXPECT_EQ(LogCount("Line down: hung up by a schedule; the session lasted 00:00:00."), 1);
}

// A nightly reconnect at 00:30 of a line that must be up 24 hours, over three nights.
TEST_F(SchedulerTest, AReconnectRenewsOnlyALineUpForItsHoursAndDialsNothingOffline) {
  Tmainform& form = StartWith("[Schedule0]\r\nEventType=3\r\nPeriod=2\r\nDateTime01=0\r\nTime21=" +
                              FormatReal(ToDateTime({2026, 1, 1, 0, 30}), '.') +
                              "\r\nTime32=0\r\nTime42=0\r\nReconnectAfterHours=24\r\n");
  form.Settings().CkbDetailedLog = true;
  auto hours = [&](int count) {  // an hour at a time, well within Elapse's limit of real time
    for (int hour = 0; hour < count; ++hour)
      Elapse(3600000);
  };
  auto sessions = [&] {  // the entries of the records in TimeCount.CSV
    std::vector<std::string> entries;
    TimeRecordReader reader([&](const TimeRecordView& r) { entries.emplace_back(r.entry); });
    reader.Feed(files_.content["C:\\Tarvolin\\TimeCount.CSV"]);
    return entries;
  };
  form.CnListSelectItem("Second");
  form.Dial1Click();
  EXPECT_EQ(form.Dialing().ReconnectSkipped(0), "a dial is under way");
  ASSERT_TRUE(ui_.RunUntil([&] { return form.Dialing().Online(); }));

  hours(15);  // to 01:00 the next day
  EXPECT_EQ(LogCount("Reconnect skipped: the line has been up for 14:30:00, less than 24 hours."),
            1);
  EXPECT_TRUE(form.Dialing().Online());
  EXPECT_TRUE(sessions().empty());

  hours(24);
  EXPECT_EQ(LogCount("Reconnect: the line has been up for 38:30:00; it is hung up and Second "
                     "dialed again."),
            1);
  EXPECT_EQ(LogCount("Line down: hung up by a schedule to reconnect; the session lasted 38:30:00."),
            1);
  EXPECT_EQ(LogCount("Connecting to Second..."), 2);
  EXPECT_TRUE(form.Dialing().Online());
  EXPECT_EQ(sessions(), std::vector<std::string>{"Second"});

  form.HangUp1Click();
  hours(24);
  EXPECT_EQ(LogCount("Reconnect skipped: not online."), 1);
  EXPECT_EQ(LogCount(Done("Reconnect")), 1);  // a skipped one says only why
  EXPECT_EQ(LogCount("Connecting to"), 2);
  EXPECT_FALSE(form.Dialing().Online() || form.Dialing().Dialing());
  EXPECT_EQ(sessions().size(), 2u);
  EXPECT_TRUE(prompts_.questions.empty());  // no Confirm, no question
}

// A confirmed reconnect asks only when it would go ahead: not offline, not past the budget.
TEST_F(SchedulerTest, AReconnectDecidesBeforeItAsksAndNeverDialsPastTheBudget) {
  files_.content["C:\\Tarvolin\\Entries.ini"] = "[Second]\r\nBudgetHours=1.5\r\n";
  Tmainform& form = StartWith(Task(0, kReconnect, true, kHourly, "ReconnectAfterHours=0\r\n"));
  prompts_.answer_yes = false;  // No to the reconnect, and to the budget's hang-up
  const auto asked = [&] {
    return std::count(prompts_.questions.begin(), prompts_.questions.end(), Question("Reconnect"));
  };
  Elapse(20 * 60000);  // 10:15, offline
  EXPECT_EQ(LogCount("Reconnect skipped: not online."), 1);
  EXPECT_EQ(asked(), 0);
  form.CnListSelectItem("Second");
  form.Dial1Click();
  ASSERT_TRUE(ui_.RunUntil([&] { return form.Dialing().Online(); }));
  Elapse(3600000);  // 11:15, within the budget: asked, and No leaves the line alone
  EXPECT_EQ(asked(), 1);
  Elapse(3600000);  // 12:15, the budget used up: skipped unasked
  EXPECT_EQ(LogCount("Reconnect skipped: the budget of Second is used up."), 1);
  EXPECT_EQ(asked(), 1);
  EXPECT_EQ(LogCount("Connecting to"), 1);
  EXPECT_TRUE(form.Dialing().Online());
}

TEST_F(SchedulerTest, TheListDialogWorksFromTheFileAndItsOkSavesTheTableAndTheEnableBox) {
  Tmainform& form = StartWith(Task(0, kConnect, false, kLoop), false);
  files_.content[kSchedules] += Task(1, kShutDown, false);
  form.Schedule1Click();  // cancelled: the file is read again all the same
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

TEST_F(SchedulerTest, WhatRunsWhileTheListDialogIsOpenStaysRunAfterItsOk) {
  const std::string file =
      Task(0, kConnect, false) + "[Schedule1]\r\nEventType=1\r\nPeriod=2\r\nDateTime01=0\r\n" +
      "Time21=" + FormatReal(kTen, '.') + "\r\nTime32=0\r\nTime42=0\r\nConfirm=1\r\n";
  Tmainform& form = StartWith(file);
  clock_.SetLocalStart(kTen - 1.0 / 1440);  // 09:59
  view_.schedule_list = [&](ScheduleListModel model) {
    std::vector<Asked> asked = Run(form, 120000);  // the Daily comes due meanwhile
    EXPECT_EQ(Count(asked, "Disconnect"), 1);
    model.Remove(0);  // the Daily moves up a slot
    return std::optional(model.Result());
  };
  form.Schedule1Click();
  ASSERT_EQ(form.Schedules().Table()[0].Period, kDaily);
  EXPECT_TRUE(form.Schedules().Table()[0].Performed);
  view_.schedule_list = nullptr;
  form.Schedule1Click();  // opening reads the file again; cancelled
  EXPECT_EQ(Count(Run(form, 5 * 60000), "Disconnect"), 0);
  EXPECT_EQ(Count(Run(form, 86400000), "Disconnect"), 1);  // and the next day once more
}

// A time the dialog keeps to more digits than the file does.
TEST_F(SchedulerTest, AScheduleAddedInTheListRunsOnceWhenTheListIsOpenedAgainInItsWindow) {
  Tmainform& form = StartWith("");
  clock_.SetLocalStart(kTen - 1.0 / 1440);  // 09:59
  view_.schedule_list = [&](ScheduleListModel model) {
    ScheduleFormValues values = *model.NewSchedule();
    values.Event = kDisconnect;
    values.Period = kDaily;
    values.Time21 = kTen + 1.0 / 1440;
    values.Confirm = true;
    model.Store(-1, values);
    return std::optional(model.Result());
  };
  form.Schedule1Click();
  EXPECT_EQ(Count(Run(form, 3 * 60000), "Disconnect"), 1);
  view_.schedule_list = nullptr;
  form.Schedule1Click();
  EXPECT_EQ(Count(Run(form, 5 * 60000), "Disconnect"), 0);
}

TEST_F(SchedulerTest, DailyWeeklyAndMonthlyRunOnceOnEveryDueDayOverFortySixDays) {
  auto at_ten = [](int slot, int event, int period, const std::string& day_key, int day) {
    return "[Schedule" + std::to_string(slot) + "]\r\nEventType=" + std::to_string(event) +
           "\r\nPeriod=" + std::to_string(period) +
           "\r\nDateTime01=0\r\nTime21=" + FormatReal(kTen, '.') +
           "\r\nTime32=" + FormatReal(kTen, '.') + "\r\nTime42=" + FormatReal(kTen, '.') + "\r\n" +
           day_key + "=" + std::to_string(day) + "\r\nConfirm=1\r\n";
  };
  Tmainform& form = StartWith(at_ten(0, kConnect, kDaily, "Week31", 0) +
                              at_ten(1, kDisconnect, kWeekly, "Week31", 3) +   // Wednesdays
                              at_ten(2, kShutDown, kMonthly, "Month41", 14));  // the 15th
  clock_.SetLocalStart(ToDateTime({2026, 6, 1}));
  const std::vector<Asked> asked = Run(form, 46ull * 86400000);
  std::map<std::string, std::vector<int>> days;
  for (const Asked& a : asked) {
    const CalendarTime t = FromDateTime(a.local);
    EXPECT_EQ(t.hour, 10);
    days[a.question].push_back(t.month * 100 + t.day);
  }
  std::vector<int> every_day, wednesdays;
  for (int d = 0; d < 46; ++d) {
    const CalendarTime t = FromDateTime(ToDateTime({2026, 6, 1}) + d);
    every_day.push_back(t.month * 100 + t.day);
    if (t.day_of_week == 3)
      wednesdays.push_back(t.month * 100 + t.day);
  }
  EXPECT_EQ(days[Question("Connect")], every_day);
  EXPECT_EQ(days[Question("Disconnect")], wednesdays);
  EXPECT_EQ(days[Question("Shun down PC")], (std::vector<int>{615, 715}));
}

TEST_F(SchedulerTest, ATimeTheSpringChangeSkipsRunsRightAfterItButNotAfterASleep) {
  Tmainform& form = StartWith("[Schedule0]\r\nEventType=1\r\nPeriod=2\r\nDateTime01=0\r\nTime21=" +
                              FormatReal(ToDateTime({2027, 1, 1, 2, 30}), '.') +
                              "\r\nTime32=0\r\nTime42=0\r\nConfirm=1\r\n");
  clock_.SetLocalStart(ToDateTime({2027, 3, 28, 1, 59}) - clock_.Now() / 86400000.0);
  EXPECT_TRUE(Run(form, 60000, 1000).empty());  // to 02:00, when the clock goes on to 03:00
  clock_.ShiftLocal(1.0 / 24);
  EXPECT_EQ(Count(Run(form, 60000, 1000), "Disconnect"), 1);
  // The next day at its time, though not a whole day after that run.
  const std::vector<Asked> next = Run(form, 24ull * 3600000);
  ASSERT_EQ(next.size(), 1u);
  EXPECT_EQ(FromDateTime(next[0].local).hour, 2);

  // Asleep across the 02:30 of the day after: its window passed unseen.
  clock_.Advance(23ull * 3600000 - 2 * 60000);  // 01:59
  EXPECT_TRUE(Run(form, 60000, 1000).empty());
  clock_.Advance(3600000);
  EXPECT_TRUE(Run(form, 60000, 20000).empty());  // 03:00 to 03:01
}

TEST_F(SchedulerTest, HourlyRunsEveryHourWithNoTickOnTheFullHourAndMinuteFiftyNineInMinuteNought) {
  Tmainform& form =
      StartWith(Task(0, kConnect, true, kHourly) +
                "[Schedule1]\r\nEventType=1\r\nPeriod=1\r\nMinute11=59\r\nPeriodOfValidity=1\r\n"
                "DateTime01=0\r\nTime21=0\r\nTime32=0\r\nTime42=0\r\nConfirm=1\r\n");
  clock_.SetLocalStart(ToDateTime({2026, 6, 1, 0, 0, 15}) - clock_.Now() / 86400000.0);
  const std::vector<Asked> asked = Run(form, 2 * 86400000, 30000);  // ticks at :15 and :45
  EXPECT_EQ(Count(asked, "Connect"), 48);
  EXPECT_EQ(Count(asked, "Disconnect"), 49);  // 48 hours, and the last tick at 00:00:15
  for (const Asked& a : asked) {
    const int minute = FromDateTime(a.local).minute;
    EXPECT_EQ(minute, a.question == Question("Connect") ? 16 : 0);
  }
}

TEST_F(SchedulerTest, ALoopKeepsItsRhythmAcrossSleepsAndAClockSetBack) {
  Tmainform& form = StartWith(
      "[Schedule0]\r\nEventType=0\r\nPeriod=5\r\nMinute52=10\r\nPeriodOfValidity=2\r\n"
      "DateTime01=0\r\nTime21=0\r\nTime32=0\r\nTime42=0\r\nConfirm=1\r\n");
  form.Schedules().CheckSchedules();  // the first check starts it
  const uint64_t origin = clock_.Now();
  auto minutes = [&](const std::vector<Asked>& asked) {
    std::vector<uint64_t> at;
    for (const Asked& a : asked)
      at.push_back((a.monotonic_ms - origin) / 60000);
    return at;
  };
  EXPECT_EQ(minutes(Run(form, 60 * 60000)), (std::vector<uint64_t>{10, 20, 30, 40, 50, 60}));
  clock_.Advance(25 * 60000);  // asleep: 70 and 80 pass, 80's window closes at 82
  EXPECT_EQ(minutes(Run(form, 10 * 60000)), std::vector<uint64_t>{90});
  clock_.Advance(3ull * 86400000 - 4 * 60000);  // three days on, into 4410's window
  EXPECT_EQ(minutes(Run(form, 9 * 60000)), (std::vector<uint64_t>{4411, 4420}));
  clock_.ShiftLocal(-2.0 / 24);  // the clock set back: the loop goes on as before
  EXPECT_EQ(minutes(Run(form, 20 * 60000)), (std::vector<uint64_t>{4430, 4440}));
}

TEST_F(SchedulerTest, AFileThatCannotBeReadIsNeitherEmptiedNorWrittenOver) {
  const std::string schedules = Task(0, kConnect, false);
  const std::string actions = "[Action0]\r\nName=Mail\r\n";
  files_.content["C:\\Tarvolin\\Actions.ini"] = actions;
  files_.unreadable = {kSchedules, "C:\\Tarvolin\\Actions.ini"};
  Tmainform& form = StartWith(schedules);
  EXPECT_EQ(prompts_.errors.size(), 2u);
  EXPECT_NE(prompts_.errors[0].find("cannot be read"), std::string::npos);

  prompts_.answer_yes = false;
  view_.schedule_list = [](ScheduleListModel model) { return std::optional(model.Result()); };
  form.Schedule1Click();
  EXPECT_EQ(prompts_.questions.size(), 1u);  // replace it? No
  form.Exit1Click();
  ASSERT_TRUE(form.FormClose());
  EXPECT_EQ(files_.content[kSchedules], schedules);
  EXPECT_EQ(files_.content["C:\\Tarvolin\\Actions.ini"], actions);
  EXPECT_FALSE(files_.Exists("C:\\Tarvolin\\Schedules.bak"));
  EXPECT_EQ(prompts_.errors.size(), 2u);  // said once
}

}  // namespace
