// Watching the line: a line up but dead, a sleep and the wake after it, and the patient
// retry after redialing stopped.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "accounting/time_records.h"
#include "mainform_fixture.h"
#include "monitor/dead_line_watch.h"
#include "platform/date_time.h"
#include "rassim/rassim.h"

namespace {

constexpr uint64_t kMinute = 60000;
constexpr uint64_t kHour = 60 * kMinute;
constexpr const char* kTimeCount = "C:\\Tarvolin\\TimeCount.CSV";
constexpr const char* kSessionsCsv = "C:\\Tarvolin\\Sessions.csv";
constexpr const char* kCheckpoint = "C:\\Tarvolin\\TimeCount.run";

TEST(DeadLineWatch, ArmsAtTheFirstAnswerAndCountsOnlyMissesWithNoDataSinceTheFirst) {
  DeadLineWatch watch;
  for (int echo = 0; echo < 10; ++echo)  // a server that never answers
    EXPECT_FALSE(watch.EchoDue(0, 3));
  watch.Answered();
  EXPECT_FALSE(watch.EchoDue(0, 3));  // answered: nothing missed
  EXPECT_FALSE(watch.EchoDue(0, 3));  // 1 missed
  EXPECT_FALSE(watch.EchoDue(0, 3));  // 2
  EXPECT_TRUE(watch.EchoDue(0, 3));   // 3, and nothing came in
  EXPECT_FALSE(watch.EchoDue(0, 0));  // off

  // Data after the first miss: the run starts again from the last echo before it.
  watch.Restart();
  watch.Answered();
  EXPECT_FALSE(watch.EchoDue(100, 2));
  EXPECT_FALSE(watch.EchoDue(100, 2));  // 1 missed
  EXPECT_FALSE(watch.EchoDue(500, 2));  // 2 missed, but data came in since the first
  EXPECT_EQ(watch.Missed(), 2);
  EXPECT_FALSE(watch.EchoDue(500, 2));  // the run begins at the echo sent at 500
  EXPECT_EQ(watch.Missed(), 1);
  EXPECT_TRUE(watch.EchoDue(500, 2));
  watch.Answered();
  EXPECT_FALSE(watch.EchoDue(500, 2));
  EXPECT_EQ(watch.Missed(), 0);
}

class LineWatchTest : public MainformTest {
 protected:
  LineWatchTest()
      : MainformTest(
            "[Quiet]\nStepDelayMs=0\nRecvBps=0\nSendBps=0\n"
            "[Busy]\nOutcome=busy\nStepDelayMs=0\n"
            "[Locked]\nOutcome=badaccount\nStepDelayMs=0\n") {}

  Tmainform& StartOnline(const std::string& entry) {
    Tmainform& form = Start();
    form.Settings().CkbKeepConnection = true;
    form.CnListSelectItem(entry);
    form.Dial1Click();
    EXPECT_TRUE(ui_.RunUntil([&] { return form.Dialing().Online(); }));
    return form;
  }

  int Dials(const std::string& entry) { return LogCount("Connecting to " + entry + "..."); }
  int Records() {
    const std::string& csv = files_.content[kTimeCount];
    return static_cast<int>(std::count(csv.begin(), csv.end(), '\n'));
  }
  double TodayHours(Tmainform& form) { return form.Connections().Table()[0].TodayTime * 24; }
  // Field `index` of each session in Sessions.csv, in order.
  std::vector<std::string> SessionsField(int index) {
    std::vector<std::string> values;
    std::istringstream lines(files_.content[kSessionsCsv]);
    std::string line;
    std::getline(lines, line);  // the header
    while (std::getline(lines, line)) {
      std::istringstream fields(line);
      std::string field;
      for (int i = 0; i <= index; ++i)
        std::getline(fields, field, ',');
      values.push_back(field);
    }
    return values;
  }
  std::vector<std::string> Reasons() { return SessionsField(7); }
  double SecondsOnline() {
    double seconds = 0;
    for (const std::string& field : SessionsField(2))
      seconds += std::stod(field);
    return seconds;
  }
};

TEST_F(LineWatchTest, AnArmedWatchHangsUpAfterNUnansweredEchoesAndKeepDialsAgain) {
  Tmainform& form = StartOnline("Quiet");
  AppSettings& settings = form.Settings();
  settings.CkbPingSrv = true;
  settings.CkbDeadLine = true;
  settings.UdDeadLineEchoes = 2;
  network_.mode = IcmpMode::Library;
  ASSERT_TRUE(ui_.RunUntil([&] { return network_.pending.size() == 1; }));
  network_.pending[0]({0, 0x7F000001, 1});  // answered: the watch arms
  Elapse(2 * kMinute + 500);                // two more echoes go out, neither answered
  EXPECT_EQ(network_.pending.size(), 3u);
  EXPECT_EQ(Dials("Quiet"), 1);
  Elapse(kMinute);
  EXPECT_EQ(LogCount("No answer to 2 keep-alive echoes and no data received"), 1);
  EXPECT_EQ(network_.pending.size(), 3u);
  EXPECT_EQ(Dials("Quiet"), 2);
  EXPECT_TRUE(ui_.RunUntil([&] { return form.Dialing().Online(); }));

  // The new connection is watched afresh from its connect, whatever its handle: unanswered
  // echoes do not arm it.
  EXPECT_FALSE(form.KeepAliveEcho().Watch().Armed());
  Elapse(10 * kMinute);
  EXPECT_EQ(Dials("Quiet"), 2);
}

// With the resume check on, the wake looks at the line at once, and Keep gives the modem
// its settle time before it dials again.
TEST_F(LineWatchTest, ASleepOfHoursEndsTheSessionAtItsStartAndTheWakeChecksTheLineAtOnce) {
  Tmainform& form = StartOnline("Quiet");
  form.Settings().CkbResumeCheck = true;
  form.Settings().UdResumeSettle = 5;
  form.Settings().CkbDetailedLog = true;
  Elapse(kMinute);
  form.SystemSuspending();
  EXPECT_EQ(Records(), 0);  // held until the wake tells how the line fared
  EXPECT_NE(files_.content[kCheckpoint].find("the computer went to sleep"), std::string::npos);
  clock_.Advance(3 * kHour);  // asleep: no tick runs
  rassim::Drop("*");
  form.SystemResumed();
  EXPECT_FALSE(form.Dialing().Online());  // at once, not at the next tick
  EXPECT_EQ(Reasons(), (std::vector<std::string>{"lost during a sleep"}));
  EXPECT_EQ(LogCount("Line down: lost during a sleep; the session lasted 00:01:00."), 1) << Log();
  EXPECT_NEAR(TodayHours(form), 1.0 / 60, 0.001);
  Elapse(4800);
  EXPECT_EQ(Dials("Quiet"), 1);  // the modem is given time to come back
  Elapse(400);
  EXPECT_EQ(Dials("Quiet"), 2);
  ASSERT_TRUE(ui_.RunUntil([&] { return form.Dialing().Online(); }));

  // A line RAS still lists at the wake is looked at each second of the settle time: one
  // that goes two seconds in was lost in the sleep, and Keep waits the settle time.
  Elapse(kMinute);
  form.SystemSuspending();
  clock_.Advance(2 * kHour);
  form.SystemResumed();
  Elapse(2000);
  rassim::Drop("*");
  Elapse(1000);
  EXPECT_FALSE(form.Dialing().Online());
  EXPECT_EQ(Reasons().back(), "lost during a sleep");
  EXPECT_EQ(LogCount("Awake again"), 0);
  Elapse(3500);
  EXPECT_EQ(Dials("Quiet"), 2);
  ASSERT_TRUE(ui_.RunUntil([&] { return form.Dialing().Online(); }));
  EXPECT_EQ(Dials("Quiet"), 3);

  // A line still up once the settle time is over: a new session from the wake.
  Elapse(kMinute);
  form.SystemSuspending();
  clock_.Advance(2 * kHour);
  form.SystemResumed();
  Elapse(4000);
  EXPECT_EQ(LogCount("Awake again: the line is still up, and a new session begins."), 0);
  Elapse(1500);
  EXPECT_TRUE(form.Dialing().Online());
  EXPECT_EQ(LogCount("Awake again: the line is still up, and a new session begins."), 1);
  Elapse(kMinute);
  form.HangUp1Click();
  EXPECT_EQ(Records(), 4);
  EXPECT_NEAR(TodayHours(form), 4.0 / 60 + 5.5 / 3600, 0.001);
}

// Without the resume check a sleep is still never billed: the session ends at the suspend,
// or at the last tick before a gap the system never told of, and the next tick looks at
// the line.
TEST_F(LineWatchTest, WithoutTheResumeCheckANightAsleepIsNeitherBilledNorLost) {
  Tmainform& form = StartOnline("Quiet");
  ASSERT_FALSE(form.Settings().CkbResumeCheck);
  form.Settings().CkbKeepConnection = false;
  Elapse(kMinute);
  form.SystemSuspending();
  clock_.Advance(9 * kHour);
  rassim::Drop("*");
  form.SystemResumed();
  EXPECT_TRUE(form.Dialing().Online());  // not looked at yet
  Elapse(1000);
  EXPECT_FALSE(form.Dialing().Online());
  EXPECT_EQ(Reasons(), (std::vector<std::string>{"lost during a sleep"}));
  EXPECT_NEAR(TodayHours(form), 1.0 / 60, 0.001);
  const AccountInfo& row = form.Connections().Table()[0];
  EXPECT_NEAR(row.BillingTime * 24, 1.0 / 60, 0.001);
  EXPECT_NEAR(row.BudgetTime * 24, 1.0 / 60, 0.001);

  // Still up at the wake: the record ends at the suspend and a new session begins.
  form.Dial1Click();
  ASSERT_TRUE(ui_.RunUntil([&] { return form.Dialing().Online(); }));
  Elapse(kMinute);
  form.SystemSuspending();
  clock_.Advance(2 * kHour);
  form.SystemResumed();
  Elapse(kMinute);
  // A gap in the ticks with no word from the system: the same, from the last tick.
  clock_.Advance(5 * kHour);
  Elapse(kMinute);
  form.HangUp1Click();
  EXPECT_EQ(Reasons(),
            (std::vector<std::string>{"lost during a sleep", "the computer went to sleep",
                                      "the computer went to sleep", "hung up by the user"}));
  EXPECT_NEAR(SecondsOnline(), 4 * 60, 3);  // across midnight: the days' counters restarted
  EXPECT_EQ(LogCount("Awake again: the line is still up, and a new session begins."), 2);
}

TEST_F(LineWatchTest, APatientRetryDialsEveryMMinutesButNeverAfterRefusals) {
  Tmainform& form = Start();
  AppSettings& settings = form.Settings();
  settings.UdStopAfterFailures = 2;
  settings.CkbPatientRetry = true;
  settings.UdPatientRetryMinutes = 15;
  form.CnListSelectItem("Busy");
  form.Dial1Click();
  ASSERT_TRUE(ui_.RunUntil([&] { return LogCount("Redialing stopped after") == 1; }));
  const uint64_t stopped = clock_.Now();
  ASSERT_TRUE(ui_.RunUntil([&] { return Dials("Busy") == 3; }));
  EXPECT_NEAR(static_cast<double>(clock_.Now() - stopped), 15.0 * kMinute, 100.0);
  Elapse(46 * kMinute);
  EXPECT_EQ(Dials("Busy"), 6);  // one try each quarter of the hour, none redialed
  EXPECT_EQ(LogCount("Patient retry: dialing Busy again, every 15 minutes until it connects."), 4);
  EXPECT_EQ(LogCount("Redialing stopped after"), 1);

  // The user's hang-up ends it.
  form.HangUp1Click();
  Elapse(kHour);
  EXPECT_EQ(Dials("Busy"), 6);

  // So does a try that connects: a drop later is no stop.
  form.Dial1Click();
  ASSERT_TRUE(ui_.RunUntil([&] { return LogCount("Redialing stopped after") == 2; }));
  phonebook_.Write("[Busy]\nStepDelayMs=0\n[Locked]\nOutcome=badaccount\nStepDelayMs=0\n");
  ASSERT_TRUE(ui_.RunUntil([&] { return form.Dialing().Online(); }));
  rassim::Drop("*");
  Elapse(kHour);
  EXPECT_EQ(Dials("Busy"), 9);

  EXPECT_EQ(LogCount("The patient retry ends: hung up by the user."), 1);
  EXPECT_EQ(LogCount("The patient retry ends: Busy is connected."), 1);

  // Stopped for refusals: no retry.
  settings.CkbStopOnRefusal = true;
  form.CnListSelectItem("Locked");
  form.Dial1Click();
  Elapse(2 * kHour);
  EXPECT_EQ(Dials("Locked"), 2);
}

// A try RAS refuses at once waits for the next; a try the budget holds back ends the retry
// with the budget's own word and no "dialing again" before it.
TEST_F(LineWatchTest, APatientRetryOutlivesARefusedTryAndEndsAtTheBudgetWithAWord) {
  clock_.SetLocalStart(ToDateTime({2026, 6, 10, 12}));
  files_.content["C:\\Tarvolin\\Entries.ini"] = "[Locked]\r\nBudgetHours=0.5\r\n";
  files_.content[kTimeCount] =
      FormatTimeRecord({ToDateTime({2026, 6, 10, 9}), 1.0 / 24, 0, "Locked"}, '.');
  Tmainform& form = Start();
  AppSettings& settings = form.Settings();
  settings.UdStopAfterFailures = 1;
  settings.CkbPatientRetry = true;
  settings.UdPatientRetryMinutes = 15;
  form.CnListSelectItem("Busy");
  form.Dial1Click();
  ASSERT_TRUE(ui_.RunUntil([&] { return LogCount("Redialing stopped after") == 1; }));
  phonebook_.Write("[Busy]\nOutcome=refuse\n[Locked]\nOutcome=badaccount\nStepDelayMs=0\n");
  Elapse(31 * kMinute);
  EXPECT_EQ(LogCount("Patient retry: dialing Busy again"), 2);
  EXPECT_EQ(LogCount("Error:633"), 2);

  prompts_.answer_yes = true;  // the user dials past the budget; the program may not
  form.CnListSelectItem("Locked");
  form.Dial1Click();
  EXPECT_EQ(LogCount("The patient retry ends: a new dial started."), 1);
  ASSERT_TRUE(ui_.RunUntil([&] { return LogCount("Redialing stopped after") == 2; }));
  Elapse(16 * kMinute);
  EXPECT_EQ(LogCount("No dial started: The budget of Locked for this billing period is used up."),
            1);
  EXPECT_EQ(LogCount("The patient retry ends: the budget is used up."), 1);
  EXPECT_EQ(LogCount("Patient retry: dialing Locked again"), 0);
  Elapse(kHour);
  EXPECT_EQ(Dials("Locked"), 1);
}

}  // namespace
