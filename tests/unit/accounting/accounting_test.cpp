// Pricing of online time, the duration texts, and the counters the tick advances.
#include "accounting/accounting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>

#include "platform/date_time.h"

namespace {

constexpr double kHour = 1.0 / 24;
constexpr double kMinute = kHour / 60;
constexpr double kSecond = kMinute / 60;
// Date-times near today resolve to about a microsecond; counters agree to well within that.
constexpr double kTime = 1e-10;
constexpr double kMoney = 1e-8;

// December 2026: the 23rd is a Wednesday, the 26th a Saturday.
double Dec(int day, int hour, int minute = 0, int second = 0) {
  return ToDateTime({2026, 12, day, hour, minute, second});
}

RatePlan Plan(double general, std::initializer_list<RateSection> sections = {}) {
  RatePlan plan;
  plan.GeneralRate = general;
  std::copy(sections.begin(), sections.end(), plan.Sections);
  return plan;
}

double HourAt(const RatePlan& plan, int hour) {  // of Wednesday 23 December
  return ComputeExpense(plan, Dec(23, hour), kHour);
}

TEST(ComputeExpense, EachHourAtItsSectionsRateElseTheGeneralOne) {
  EXPECT_NEAR(ComputeExpense(Plan(2), Dec(23, 10, 20), 30 * kMinute), 1.00, kMoney);
  const RatePlan eleven = Plan(1, {{true, 6, 11, 12}});
  EXPECT_NEAR(ComputeExpense(eleven, Dec(23, 10, 20), 50 * kMinute), 40.0 / 60 + 1, kMoney);
  // Past midnight, a later section overriding hour 0; a free section changes nothing.
  const RatePlan night = Plan(1, {{true, 3, 22, 6}, {true, 5, 0, 1}, {true, 0, 6, 7}});
  const double expected[24] = {5, 3, 3, 3, 3, 3, 1, 1, 1, 1, 1, 1,
                               1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 3, 3};
  for (int hour = 0; hour < 24; ++hour) {
    EXPECT_NEAR(HourAt(night, hour), expected[hour], kMoney) << hour;
  }
  EXPECT_NEAR(ComputeExpense(Plan(1, {{true, 4, 8, 8}}), Dec(23, 0), 1), 96, kMoney);
  EXPECT_NEAR(HourAt(Plan(1, {{false, 4, 8, 9}}), 8), 1, kMoney);
  EXPECT_EQ(ComputeExpense(Plan(2), Dec(23, 10), -kHour), 0);
  // Hand-edited hours outside the day are taken to its ends.
  EXPECT_NEAR(ComputeExpense(Plan(1, {{true, 4, -5, 30}}), Dec(23, 0), 1), 96, kMoney);
  EXPECT_NEAR(ComputeExpense(Plan(1, {{true, 4, 30, 2}}), Dec(23, 0), 1), 2 * 4 + 22, kMoney);
}

TEST(ComputeExpense, WeekendsAtTheWeekendRateOrTheGeneralOneNeverBySections) {
  RatePlan plan = Plan(1, {{true, 5, 0, 24}});
  plan.WeekendEnabled = true;
  EXPECT_NEAR(ComputeExpense(plan, Dec(26, 10), kHour), 1, kMoney);  // weekend rate 0
  plan.WeekendRate = 2;
  EXPECT_NEAR(ComputeExpense(plan, Dec(25, 23), 2 * kHour), 5 + 2, kMoney);  // Friday into it
  EXPECT_NEAR(ComputeExpense(plan, Dec(23, 12), 7), 5 * 24 * 5 + 2 * 24 * 2, kMoney);
  plan.WeekendEnabled = false;
  EXPECT_NEAR(ComputeExpense(plan, Dec(26, 10), kHour), 5, kMoney);
}

// The span cut at every full hour, each piece priced by the clock hour and the weekday
// the calendar gives for its middle: the plain walk that pricing whole days must match.
long double WalkedExpense(const RatePlan& plan, double start, double end) {
  long double total = 0;
  for (double k = std::floor(start * 24); k <= std::floor(end * 24); ++k) {
    const double from = std::max(start, k / 24), to = std::min(end, (k + 1) / 24);
    const CalendarTime at = FromDateTime((from + to) / 2);
    double rate = plan.GeneralRate;
    for (const RateSection& s : plan.Sections) {  // a later one wins
      const bool in =
          s.From < s.To ? at.hour >= s.From && at.hour < s.To : at.hour >= s.From || at.hour < s.To;
      rate = in ? s.Rate : rate;
    }
    if (plan.WeekendEnabled && (at.day_of_week == 0 || at.day_of_week == 6)) {
      rate = plan.WeekendRate;
    }
    total += std::max(0.0, to - from) * 24 * static_cast<long double>(rate);
  }
  return total;
}

TEST(ComputeExpense, WholeDaysInOneStepCostWhatTheHourByHourWalkGives) {
  RatePlan plan = Plan(1, {{true, 3, 23, 6}, {true, 2, 9, 17}, {true, 5, 12, 13}});
  plan.WeekendRate = 0.5;
  std::mt19937 random(2026);
  std::uniform_real_distribution<double> day(Dec(1, 0), Dec(31, 0));
  std::uniform_real_distribution<double> magnitude(-4, 2);  // 9 seconds to 100 days
  for (bool weekend : {true, false}) {
    plan.WeekendEnabled = weekend;
    for (int i = 0; i < 100; ++i) {
      const double start = day(random), duration = std::pow(10.0, magnitude(random));
      const long double walked = WalkedExpense(plan, start, start + duration);
      EXPECT_NEAR(ComputeExpense(plan, start, duration), walked, 1e-9 * walked) << start;
    }
  }
}

TEST(FormatDuration, HoursUnwrappedSecondsRoundedHalfToEven) {
  EXPECT_EQ(FormatDuration(1.5), "36:00:00");
  EXPECT_EQ(FormatDuration(100 * kHour + 61 * kMinute + 59.6 * kSecond), "101:02:00");
  EXPECT_EQ(FormatDuration(0.5 * kSecond), "00:00:00");
  EXPECT_EQ(FormatDuration(1.5 * kSecond), "00:00:02");
  EXPECT_EQ(FormatDuration(2.5 * kSecond), "00:00:02");
}

class AccountingTest : public testing::Test {
 protected:
  AccountingTest() {
    table[0] = {"A", "", "", kHour, kHour, kHour, 2, 2, 2, false, true, true};  // selected
    table[1] = {"B", "", "", kHour, kHour, kHour, 2, 2, 2, false, false, true};
  }
  // A clock never set: the monotonic time follows the local one.
  static Moment At(double local) {
    return {local, static_cast<uint64_t>(std::llround(local * 86400000))};
  }

  void Tick(double local) { accounting.AccountingTick(table, plan_of, At(local)); }

  TAccountTable table;
  Accounting accounting;
  std::map<std::string, RatePlan> plans;
  PlanOf plan_of = [this](const std::string& entry) { return plans[entry]; };
};

TEST_F(AccountingTest, TicksCountTheOnlineEntryByItsPlanWhicheverRowIsSelected) {
  plans["A"] = Plan(100);  // the selected row's plan prices nothing of B's
  plans["B"] = Plan(2);
  accounting.Reset(At(Dec(23, 9)));
  Tick(Dec(23, 10));  // offline: nothing moves
  EXPECT_EQ(table[1].TodayTime, kHour);
  accounting.RecordConnectTime("B", At(Dec(23, 10)));
  Tick(Dec(23, 10, 30));
  plans["B"] = Plan(4);
  Tick(Dec(23, 10, 31));  // the minute since at the new rate
  EXPECT_NEAR(table[1].SessionTime, 31 * kMinute, kTime);
  EXPECT_NEAR(table[1].SessionExpense, 1 + 4.0 / 60, kMoney);
  EXPECT_NEAR(table[1].TodayTime, kHour + 31 * kMinute, kTime);
  EXPECT_NEAR(table[1].TodayExpense, 2 + 1 + 4.0 / 60, kMoney);
  EXPECT_NEAR(table[1].BillingExpense, 2 + 1 + 4.0 / 60, kMoney);
  EXPECT_EQ(table[0].TodayTime, kHour);
  EXPECT_EQ(table[0].SessionExpense, 2);

  // Without the entry's row nothing is counted, and the time waits for it to come back.
  table[1].EntryName = "Renamed";
  Tick(Dec(23, 10, 40));
  EXPECT_EQ(accounting.LastTickTime(), Dec(23, 10, 31));
  table[1].EntryName = "B";
  plans["B"].BillingDay = 23;  // today: the billing counters are today's
  Tick(Dec(23, 10, 41));
  EXPECT_NEAR(table[1].SessionTime, 41 * kMinute, kTime);
  EXPECT_NEAR(table[1].TodayTime, kHour + 41 * kMinute, kTime);
  EXPECT_EQ(table[1].BillingExpense, table[1].TodayExpense);
}

TEST_F(AccountingTest, TodayRestartsAtMidnightOnlineOrNotEachPartToItsOwnDay) {
  plans["A"] = Plan(1, {{true, 6, 0, 1}});  // the first hour after midnight costs more
  accounting.Reset(At(Dec(23, 23)));
  accounting.RecordConnectTime("A", At(Dec(23, 23, 59)));
  Tick(Dec(23, 23, 59, 30));
  Tick(Dec(24, 0, 0, 30));  // half before midnight
  EXPECT_NEAR(table[0].TodayTime, 30 * kSecond, kTime);
  EXPECT_NEAR(table[0].TodayExpense, 30.0 / 3600 * 6, kMoney);
  EXPECT_NEAR(table[0].BillingTime, kHour + 90 * kSecond, kTime);
  EXPECT_EQ(table[1].TodayTime, 0);
  EXPECT_EQ(table[1].BillingTime, kHour);

  // Offline into A's billing day: today goes for all, billing for A alone.
  ASSERT_TRUE(accounting.SessionRecord(table, At(Dec(24, 0, 10)), ""));
  table[1].TodayTime = kHour;
  plans["A"].BillingDay = 25;
  Tick(Dec(24, 23, 59, 59));
  EXPECT_EQ(table[1].TodayTime, kHour);
  Tick(Dec(25, 0, 0, 0));
  EXPECT_EQ(table[1].TodayTime, 0);
  EXPECT_EQ(table[0].BillingTime, 0);
  EXPECT_EQ(table[1].BillingTime, kHour);
  accounting.RecordConnectTime("A", At(Dec(25, 8)));
  Tick(Dec(25, 8, 1));
  EXPECT_NEAR(table[0].BillingTime, kMinute, kTime);
}

// B's row is away, as after a listing that missed B, while B is online: it counts on,
// restarts today at midnight and its period on its billing day. A rename carries the
// session: the record is the new name's, with the whole session's cost.
TEST_F(AccountingTest, AnAwayRowCountsItsSessionAndARenameCarriesIt) {
  plans["B"] = Plan(6);
  plans["B"].BillingDay = 25;
  table[1].InUse = false;
  table[1].Away = true;
  accounting.Reset(At(Dec(24, 23)));
  accounting.RecordConnectTime("B", At(Dec(24, 23)));
  Tick(Dec(24, 23, 30));
  EXPECT_NEAR(table[1].TodayTime, kHour + 30 * kMinute, kTime);
  EXPECT_NEAR(table[1].BillingExpense, 2 + 3, kMoney);
  Tick(Dec(25, 0, 10));  // B's billing day
  EXPECT_NEAR(table[1].TodayTime, 10 * kMinute, kTime);
  EXPECT_NEAR(table[1].BillingTime, 10 * kMinute, kTime);
  EXPECT_NEAR(table[1].BudgetExpense, 1, kMoney);

  accounting.RenameSession("A", "X");  // not the session's entry: nothing changes
  ASSERT_TRUE(accounting.CheckpointRecord(table, At(Dec(25, 0, 10))));
  accounting.RenameSession("B", "B2");
  table[1] = {"B2",
              "",
              "",
              table[1].SessionTime,
              table[1].TodayTime,
              table[1].BillingTime,
              table[1].SessionExpense,
              table[1].TodayExpense,
              table[1].BillingExpense};
  table[1].InUse = true;
  plans["B2"] = plans["B"];
  EXPECT_EQ(accounting.CheckpointRecord(table, At(Dec(25, 0, 10)))->entry, "B2");  // at once
  Tick(Dec(25, 1));
  const std::optional<TimeRecord> record = accounting.SessionRecord(table, At(Dec(25, 1)), "");
  EXPECT_EQ(record->entry, "B2");
  EXPECT_NEAR(record->expense, 12, kMoney);
  EXPECT_NEAR(table[1].TodayExpense, 6, kMoney);
}

TEST_F(AccountingTest, TheSessionRecordOnceAndCheckpointsEveryHalfMinute) {
  plans["A"] = Plan(2);
  accounting.Reset(At(Dec(23, 9)));
  EXPECT_FALSE(accounting.SessionRecord(table, At(Dec(23, 9, 1)), ""));  // no connect yet
  EXPECT_FALSE(accounting.CheckpointRecord(table, At(Dec(23, 9, 1))));
  accounting.RecordConnectTime("A", At(Dec(23, 10)));
  Tick(Dec(23, 10, 30));
  EXPECT_TRUE(accounting.CheckpointRecord(table, At(Dec(23, 10, 30))));
  EXPECT_FALSE(accounting.CheckpointRecord(table, At(Dec(23, 10, 30, 29))));
  EXPECT_TRUE(accounting.CheckpointRecord(table, At(Dec(23, 10, 30, 31))));
  const std::optional<TimeRecord> record = accounting.SessionRecord(table, At(Dec(23, 10, 45)), "");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->start, Dec(23, 10));
  EXPECT_NEAR(record->duration, 45 * kMinute, kTime);
  EXPECT_NEAR(record->expense, 1, kMoney);  // as the last tick left it
  EXPECT_EQ(record->entry, "A");
  EXPECT_FALSE(accounting.SessionRecord(table, At(Dec(23, 10, 46)), ""));  // hung up twice
  EXPECT_FALSE(accounting.CheckpointRecord(table, At(Dec(23, 11))));
  Tick(Dec(23, 11));  // counts nothing more
  EXPECT_NEAR(table[0].SessionTime, 30 * kMinute, kTime);
  accounting.RecordConnectTime("C", At(Dec(23, 12)));
  const std::optional<TimeRecord> unknown = accounting.SessionRecord(table, At(Dec(23, 12, 1)), "");
  EXPECT_EQ(unknown->expense, 0);  // no such row
  EXPECT_EQ(unknown->entry, "C");
}

TEST_F(AccountingTest, LengthsAreRealTimeWhateverTheClockDoes) {
  constexpr uint64_t kHourMs = 3600000;
  plans["A"] = Plan(2);
  const Moment connect{Dec(23, 1, 30), 5 * kHourMs};
  accounting.Reset(connect);
  accounting.RecordConnectTime("A", connect);
  // The autumn change at 02:00 local: an hour of real time, and the clock shows 01:30 again.
  accounting.AccountingTick(table, plan_of, {Dec(23, 1, 30), 6 * kHourMs});
  EXPECT_NEAR(table[0].SessionTime, kHour, kTime);
  EXPECT_NEAR(table[0].TodayTime, 2 * kHour, kTime);
  EXPECT_NEAR(table[0].TodayExpense, 2 + 2, kMoney);
  // The clock set back two hours more: the session still only grows, by the real time, and
  // today is the day before's.
  accounting.AccountingTick(table, plan_of, {Dec(22, 23, 45), 6 * kHourMs + 900000});
  EXPECT_NEAR(table[0].SessionTime, kHour + 15 * kMinute, kTime);
  EXPECT_NEAR(table[0].TodayTime, 15 * kMinute, kTime);
  const std::optional<TimeRecord> record =
      accounting.SessionRecord(table, {Dec(22, 23, 50), 6 * kHourMs + 1200000}, "");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->start, Dec(23, 1, 30));  // as the clock showed it
  EXPECT_NEAR(record->duration, kHour + 20 * kMinute, kTime);
}

// Online from 01:00 to 09:00 across the spring change: seven hours, the last one in the
// section from 08:00. The record costs what the counters added, the clock's hours as they
// passed, so a start that rebuilds today from the record agrees with them.
TEST_F(AccountingTest, ASessionAcrossTheSpringChangeCostsWhatTheCountersAdded) {
  constexpr uint64_t kMinuteMs = 60000;
  plans["A"] = Plan(1, {{true, 5, 8, 18}});
  accounting.Reset({Dec(23, 1), 0});
  accounting.RecordConnectTime("A", {Dec(23, 1), 0});
  const long double today = table[0].TodayExpense;
  for (int minute = 1; minute <= 7 * 60; ++minute) {
    const double local = Dec(23, 1) + minute * kMinute + (minute > 60 ? kHour : 0);
    accounting.AccountingTick(table, plan_of, {local, minute * kMinuteMs});
  }
  const std::optional<TimeRecord> record =
      accounting.SessionRecord(table, {Dec(23, 9), 7 * 60 * kMinuteMs}, "");
  ASSERT_TRUE(record);
  EXPECT_NEAR(record->duration, 7 * kHour, kTime);
  // 420 ticks laid on a clock of whole days: a millionth, never a cent.
  EXPECT_NEAR(static_cast<double>(record->expense), 6 * 1 + 5, 1e-6);
  EXPECT_NEAR(static_cast<double>(table[0].TodayExpense - today - record->expense), 0, 1e-12);
  EXPECT_EQ(table[0].SessionExpense, record->expense);
}

TEST_F(AccountingTest, EveryRowRestartsItsBillingPeriodOnItsOwnDayOrTheMonthsLastOne) {
  EXPECT_TRUE(IsBillingDay(ToDateTime({2027, 4, 30}), 31));
  EXPECT_TRUE(IsBillingDay(ToDateTime({2028, 2, 29}), 30));
  EXPECT_FALSE(IsBillingDay(ToDateTime({2028, 2, 28}), 30));
  EXPECT_TRUE(IsBillingDay(ToDateTime({2027, 2, 28}), 29));
  EXPECT_FALSE(IsBillingDay(ToDateTime({2027, 5, 30}), 31));
  // Without a billing day the period is the calendar month.
  EXPECT_TRUE(IsBillingDay(ToDateTime({2027, 5, 1}), 0));
  EXPECT_FALSE(IsBillingDay(ToDateTime({2027, 5, 2}), 0));
  EXPECT_EQ(BillingPeriodStart(0, ToDateTime({2027, 1, 31})), ToDateTime({2027, 1, 1}));
  EXPECT_EQ(BillingPeriodStart(31, ToDateTime({2027, 1, 30})), ToDateTime({2026, 12, 31}));

  // Offline across the night into 30 April: A bills from the 31st, B from the 30th, C from
  // the 15th.
  table[2] = {"C", "", "", kHour, kHour, kHour, 2, 2, 2, false, false, true};
  plans["A"].BillingDay = 31;
  plans["B"].BillingDay = 30;
  plans["C"].BillingDay = 15;
  accounting.Reset(At(ToDateTime({2027, 4, 29, 22})));
  Tick(ToDateTime({2027, 4, 30, 0, 0, 1}));
  EXPECT_EQ(table[0].BillingTime, 0);
  EXPECT_EQ(table[1].BillingTime, 0);
  EXPECT_EQ(table[2].BillingTime, kHour);
  EXPECT_EQ(table[2].TodayTime, 0);
}

// A wrong date corrected: Today follows every change of date, either way; the billing
// period is not restarted by a billing day the clock passes again.
TEST_F(AccountingTest, TodayRestartsOnEveryChangeOfDateButBillingOnlyInALaterPeriod) {
  plans["A"] = Plan(1);
  plans["A"].BillingDay = 15;
  Moment now = At(Dec(20, 10));
  accounting.Reset(now);
  accounting.RecordConnectTime("A", now);
  const auto tick = [&](double local, int real_minutes) {
    now = {local, now.monotonic_ms + real_minutes * 60000ull};
    accounting.AccountingTick(table, plan_of, now);
  };
  tick(Dec(20, 11), 60);
  EXPECT_NEAR(table[0].TodayTime, 2 * kHour, kTime);
  tick(Dec(14, 23, 59), 1);  // set back six days
  EXPECT_NEAR(table[0].TodayTime, kMinute, kTime);
  EXPECT_EQ(table[1].TodayTime, 0);
  EXPECT_NEAR(table[0].BillingTime, 2 * kHour + kMinute, kTime);
  tick(Dec(15, 0, 1), 2);  // A's billing day, of a period begun already
  EXPECT_NEAR(table[0].TodayTime, kMinute, kTime);
  EXPECT_NEAR(table[0].BillingTime, 2 * kHour + 3 * kMinute, kTime);
  tick(Dec(21, 0, 1), 2);  // and forward again, past the latest date seen
  EXPECT_NEAR(table[0].TodayTime, kMinute, kTime);
  EXPECT_NEAR(table[0].BillingTime, 2 * kHour + 5 * kMinute, kTime);
  EXPECT_EQ(table[1].BillingTime, kHour);
}

}  // namespace

// B's free hours run 23:00 to 07:00 and its period begins on the 24th: a night online from
// 22:00 to 08:00 counts in full in the read-outs and the record, but only its first and
// last hour against the budget. Its received count wraps at 32 bits twice on the way.
TEST_F(AccountingTest, FreeHoursAcrossMidnightAndABillingDayCountEverywhereButInTheBudget) {
  constexpr double kMs = kSecond / 1000, kCents = 1e-6;  // 600 ticks' rounding
  plans["B"] = Plan(2);
  plans["B"].FreeFrom = 23 * 60;
  plans["B"].FreeTo = 7 * 60;
  plans["B"].BillingDay = 24;
  accounting.Reset(At(Dec(23, 21)));
  accounting.StartTraffic();
  accounting.RecordConnectTime("B", At(Dec(23, 22)));
  constexpr uint64_t kReceived = 20'000'000, kSent = 1'000'000;  // a minute's
  for (int minute = 1; minute <= 600; ++minute) {
    const int of_day = 22 * 60 + minute;
    const Moment now = At(Dec(23 + of_day / 1440, of_day % 1440 / 60, of_day % 60));
    accounting.AccountingTick(table, plan_of, now);
    accounting.TakeTraffic(table, plan_of, now, minute * kReceived % (uint64_t{1} << 32),
                           minute * kSent);
    if (minute == 119) {  // 23:59: of the two hours, the one before 23:00 counts
      EXPECT_NEAR(table[1].BudgetTime, kHour, kMs);
      EXPECT_NEAR(static_cast<double>(table[1].BudgetExpense), 2, kCents);
      EXPECT_EQ(table[1].BudgetBytes, 59 * (kReceived + kSent));  // the ticks of 22:01 to 22:59
      EXPECT_EQ(table[1].BillingBytes, 119 * (kReceived + kSent));
    }
  }
  const AccountInfo& row = table[1];
  EXPECT_NEAR(row.BillingTime, 8 * kHour, kMs);  // since the billing day's midnight
  EXPECT_NEAR(static_cast<double>(row.BillingExpense), 16, kCents);
  EXPECT_NEAR(row.BudgetTime, kHour, kMs);  // 07:00 to 08:00
  EXPECT_NEAR(static_cast<double>(row.BudgetExpense), 2, kCents);
  EXPECT_EQ(row.BillingBytes, 481 * (kReceived + kSent));  // the ticks of 00:00 to 08:00
  EXPECT_EQ(row.BudgetBytes, 61 * (kReceived + kSent));    // and of 07:00 to 08:00
  const std::optional<TimeRecord> record =
      accounting.SessionRecord(table, At(Dec(24, 8)), "dropped by the line");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->received, 600 * kReceived);
  EXPECT_EQ(record->sent, 600 * kSent);
  EXPECT_EQ(record->budget_bytes, (59 + 61) * (kReceived + kSent));  // the period's start kept
  EXPECT_EQ(record->end, Dec(24, 8));
  EXPECT_EQ(record->reason, "dropped by the line");

  // A count that fell by less than half of 32 bits started again: all of it is new; so do
  // the counts of a new dial.
  accounting.StartTraffic();
  accounting.RecordConnectTime("B", At(Dec(24, 9)));
  accounting.TakeTraffic(table, plan_of, At(Dec(24, 9, 1)), 5000, 0);
  accounting.TakeTraffic(table, plan_of, At(Dec(24, 9, 2)), 700, 0);
  accounting.StartTraffic();
  accounting.TakeTraffic(table, plan_of, At(Dec(24, 9, 3)), 300, 0);
  EXPECT_EQ(accounting.SessionRecord(table, At(Dec(24, 9, 3)), "")->received, 6000u);
  // Outside a session nothing counts.
  accounting.TakeTraffic(table, plan_of, At(Dec(24, 9, 4)), 900, 0);
  EXPECT_EQ(row.BillingBytes, 481 * (kReceived + kSent) + 6000);
}

TEST(FreeHours, AWindowPastMidnightOrWithinADayAndItsCost) {
  RatePlan plan = Plan(1, {{true, 4, 22, 24}});                  // 4 an hour from 22:00
  EXPECT_EQ(FreeHoursIn(plan, Dec(23, 0), Dec(25, 0)).time, 0);  // none set
  plan.FreeFrom = 22 * 60 + 30;
  plan.FreeTo = 6 * 60;
  const Spent night = FreeHoursIn(plan, Dec(23, 20), Dec(24, 8));
  EXPECT_NEAR(night.time, 7.5 * kHour, kTime);
  EXPECT_NEAR(static_cast<double>(night.expense), 1.5 * 4 + 6, kMoney);
  EXPECT_NEAR(FreeHoursIn(plan, Dec(24, 1), Dec(24, 2)).time, kHour,
              kTime);  // begun the day before
  EXPECT_NEAR(FreeHoursIn(plan, Dec(23, 0), Dec(26, 0)).time,
              6 * kHour + 2 * 7.5 * kHour + 1.5 * kHour, kTime);
  EXPECT_TRUE(InFreeHours(plan, Dec(23, 22, 30)));
  EXPECT_TRUE(InFreeHours(plan, Dec(24, 5, 59)));
  EXPECT_FALSE(InFreeHours(plan, Dec(24, 6)));
  EXPECT_FALSE(InFreeHours(plan, Dec(23, 22, 29)));
  plan.FreeFrom = 12 * 60;  // within one day
  plan.FreeTo = 13 * 60;
  EXPECT_NEAR(FreeHoursIn(plan, Dec(23, 12, 30), Dec(24, 12, 15)).time, 0.75 * kHour, kTime);
  EXPECT_TRUE(InFreeHours(plan, Dec(23, 12)));
  EXPECT_TRUE(InFreeHours(plan, Dec(23, 12, 59)));
  EXPECT_FALSE(InFreeHours(plan, Dec(23, 13)));
  EXPECT_FALSE(InFreeHours(plan, Dec(23, 11, 59)));
}
