// Pricing of online time, the duration texts, and the counters the tick advances.
#include "app/accounting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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

RatePlan General(double rate) {
  RatePlan plan;
  plan.GeneralRate = rate;
  return plan;
}

void AddSection(RatePlan& plan, int index, int from, int to, double rate) {
  plan.Sections[index] = {true, rate, from, to};
}

// What one hour of Wednesday 23 December starting at `hour` costs.
double HourOfWednesday(const RatePlan& plan, int hour) {
  return ComputeExpense(plan, Dec(23, hour), kHour);
}

TEST(ComputeExpense, PricesEachHourByItsSectionElseTheGeneralRate) {
  EXPECT_NEAR(ComputeExpense(General(2), Dec(23, 10, 20), 30 * kMinute), 1.00, kMoney);

  RatePlan plan = General(1);
  AddSection(plan, 0, 11, 12, 6);
  EXPECT_NEAR(ComputeExpense(plan, Dec(23, 10, 20), 50 * kMinute), 40.0 / 60 + 1, kMoney);

  // Past midnight, with a later section overriding an earlier one's hour 0.
  plan = General(1);
  AddSection(plan, 0, 22, 6, 3);
  AddSection(plan, 1, 0, 1, 5);
  const double expected[24] = {5, 3, 3, 3, 3, 3, 1, 1, 1, 1, 1, 1,
                               1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 3, 3};
  for (int hour = 0; hour < 24; ++hour) {
    EXPECT_NEAR(HourOfWednesday(plan, hour), expected[hour], kMoney) << hour;
  }

  // From = To is the whole day; sections that are off or free leave the general rate.
  plan = General(1);
  AddSection(plan, 0, 8, 8, 4);
  EXPECT_NEAR(ComputeExpense(plan, Dec(23, 0), 1), 96, kMoney);
  plan = General(1);
  AddSection(plan, 0, 8, 9, 0);
  plan.Sections[1] = {false, 7, 8, 9};
  EXPECT_NEAR(HourOfWednesday(plan, 8), 1, kMoney);

  // Section 3 wins over 2, 2 over 1.
  plan = General(1);
  AddSection(plan, 0, 8, 18, 2);
  AddSection(plan, 1, 10, 12, 3);
  AddSection(plan, 2, 11, 13, 4);
  EXPECT_NEAR(HourOfWednesday(plan, 9), 2, kMoney);
  EXPECT_NEAR(HourOfWednesday(plan, 10), 3, kMoney);
  EXPECT_NEAR(HourOfWednesday(plan, 11), 4, kMoney);
  EXPECT_NEAR(HourOfWednesday(plan, 12), 4, kMoney);
  EXPECT_NEAR(HourOfWednesday(plan, 13), 2, kMoney);

  EXPECT_EQ(ComputeExpense(General(2), Dec(23, 10), 0), 0);
  EXPECT_EQ(ComputeExpense(General(2), Dec(23, 10), -kHour), 0);
}

TEST(ComputeExpense, WeekendsAtTheWeekendRateOrTheGeneralOneNeverBySections) {
  RatePlan plan = General(1);
  AddSection(plan, 0, 0, 24, 5);
  plan.WeekendEnabled = true;
  EXPECT_NEAR(ComputeExpense(plan, Dec(26, 10), kHour), 1, kMoney);  // weekend rate 0
  EXPECT_NEAR(ComputeExpense(plan, Dec(27, 0), 1), 24, kMoney);      // and Sunday alike
  plan.WeekendRate = 2;
  EXPECT_NEAR(ComputeExpense(plan, Dec(26, 10), kHour), 2, kMoney);
  // From Friday 23:00 into Saturday: one hour of each kind.
  EXPECT_NEAR(ComputeExpense(plan, Dec(25, 23), 2 * kHour), 5 + 2, kMoney);
  // A whole week from Wednesday noon: five weekdays' worth and two weekend days.
  EXPECT_NEAR(ComputeExpense(plan, Dec(23, 12), 7), 5 * 24 * 5 + 2 * 24 * 2, kMoney);
  plan.WeekendEnabled = false;
  EXPECT_NEAR(ComputeExpense(plan, Dec(26, 10), kHour), 5, kMoney);
}

TEST(ComputeExpense, HandEditedHoursOutsideTheDayAreTakenToItsEnds) {
  RatePlan plan = General(1);
  AddSection(plan, 0, -5, 30, 4);  // the whole day
  EXPECT_NEAR(ComputeExpense(plan, Dec(23, 0), 1), 96, kMoney);
  plan = General(1);
  AddSection(plan, 0, 30, 2, 4);  // from the day's end past midnight: hours 0 and 1
  EXPECT_NEAR(ComputeExpense(plan, Dec(23, 0), 1), 2 * 4 + 22, kMoney);
  plan = General(1);
  AddSection(plan, 0, 20, 99, 4);  // to the day's end
  EXPECT_NEAR(ComputeExpense(plan, Dec(23, 0), 1), 4 * 4 + 20, kMoney);
}

// The span cut at every full hour, each piece priced by the clock hour and the weekday
// the calendar gives for its middle: the plain walk that pricing whole days must match.
long double WalkedExpense(const RatePlan& plan, double start, double duration) {
  auto in_section = [](const RateSection& s, int hour) {
    const int from = std::clamp(s.From, 0, 24), to = std::clamp(s.To, 0, 24);
    return s.Enabled && s.Rate > 0 &&
           (from < to ? hour >= from && hour < to : hour >= from || hour < to);
  };
  const double end = start + duration;
  long double total = 0;
  for (double k = std::floor(start * 24); k <= std::floor(end * 24); ++k) {
    const double from = std::max(start, k / 24), to = std::min(end, (k + 1) / 24);
    if (to <= from) {
      continue;
    }
    const CalendarTime at = FromDateTime((from + to) / 2);
    double rate = plan.GeneralRate;
    if (plan.WeekendEnabled && (at.day_of_week == 0 || at.day_of_week == 6)) {
      rate = plan.WeekendRate > 0 ? plan.WeekendRate : plan.GeneralRate;
    } else {
      for (const RateSection& section : plan.Sections) {  // a later one wins
        rate = in_section(section, at.hour) ? section.Rate : rate;
      }
    }
    total += (to - from) * 24 * static_cast<long double>(rate);
  }
  return total;
}

TEST(ComputeExpense, WholeDaysInOneStepCostWhatTheHourByHourWalkGives) {
  RatePlan plan = General(1);
  AddSection(plan, 0, 23, 6, 3);
  AddSection(plan, 1, 9, 17, 2);
  AddSection(plan, 2, 12, 13, 5);
  plan.WeekendRate = 0.5;
  std::mt19937 random(2026);
  std::uniform_real_distribution<double> day(Dec(1, 0), Dec(31, 0));
  std::uniform_real_distribution<double> magnitude(-4, 2);  // 9 seconds to 100 days
  for (bool weekend : {true, false}) {
    plan.WeekendEnabled = weekend;
    for (int i = 0; i < 100; ++i) {
      const double start = day(random);
      const double duration = std::pow(10.0, magnitude(random));
      const long double walked = WalkedExpense(plan, start, duration);
      EXPECT_NEAR(ComputeExpense(plan, start, duration), walked, 1e-9 * walked)
          << start << " + " << duration;
    }
  }
}

TEST(FormatDuration, HoursUnwrappedSecondsRoundedHalfToEven) {
  EXPECT_EQ(FormatDuration(1.5), "36:00:00");
  EXPECT_EQ(FormatDuration(0), "00:00:00");
  EXPECT_EQ(FormatDuration(kHour + kMinute + kSecond), "01:01:01");
  EXPECT_EQ(FormatDuration(100 * kHour + 59 * kMinute + 59.6 * kSecond), "101:00:00");
  EXPECT_EQ(FormatDuration(0.5 * kSecond), "00:00:00");
  EXPECT_EQ(FormatDuration(1.5 * kSecond), "00:00:02");
  EXPECT_EQ(FormatDuration(2.5 * kSecond), "00:00:02");
  EXPECT_EQ(FormatDuration(-90 * kSecond), "-00:01:30");
}

// Two connections; the tick charges the selected one, "A".
TAccountTable Table() {
  TAccountTable table;
  table[0].EntryName = "A";
  table[0].Selected = true;
  table[1].EntryName = "B";
  for (int i : {0, 1}) {
    table[i].InUse = true;
  }
  return table;
}

TEST(Accounting, TicksRepriceTheWholeSessionAndAddEachDeltaToTodayAndBilling) {
  TAccountTable table = Table();
  table[0].TodayTime = 2 * kHour;  // from earlier sessions today
  table[0].TodayExpense = 3;
  Accounting accounting;
  accounting.Reset(Dec(23, 9));
  accounting.AccountingTick(table, General(2), Dec(23, 10));  // offline: nothing moves
  EXPECT_EQ(table[0].TodayTime, 2 * kHour);
  EXPECT_EQ(table[0].SessionTime, 0);

  accounting.RecordConnectTime(Dec(23, 10));
  accounting.AccountingTick(table, General(2), Dec(23, 10, 30));
  EXPECT_NEAR(table[0].SessionTime, 30 * kMinute, kTime);
  EXPECT_NEAR(table[0].SessionExpense, 1, kMoney);
  EXPECT_NEAR(table[0].TodayTime, 2 * kHour + 30 * kMinute, kTime);
  EXPECT_NEAR(table[0].TodayExpense, 4, kMoney);
  EXPECT_NEAR(table[0].BillingExpense, 1, kMoney);
  EXPECT_EQ(accounting.LastTickTime(), Dec(23, 10, 30));

  // A new plan prices the whole session; today and billing only the new minute.
  accounting.AccountingTick(table, General(4), Dec(23, 10, 31));
  EXPECT_NEAR(table[0].SessionExpense, 31.0 / 60 * 4, kMoney);
  EXPECT_NEAR(table[0].TodayExpense, 4 + 4.0 / 60, kMoney);
  EXPECT_NEAR(table[0].BillingTime, 31 * kMinute, kTime);
  EXPECT_NEAR(table[0].BillingExpense, 1 + 4.0 / 60, kMoney);
  EXPECT_EQ(table[1].SessionTime, 0);

  // On the billing day the billing counters are today's.
  RatePlan billed = General(4);
  billed.BillingDay = 23;
  accounting.AccountingTick(table, billed, Dec(23, 10, 32));
  EXPECT_EQ(table[0].BillingTime, table[0].TodayTime);
  EXPECT_EQ(table[0].BillingExpense, table[0].TodayExpense);

  // Without a selected row nothing is counted, and the time waits for the next one.
  table[0].Selected = false;
  accounting.AccountingTick(table, General(4), Dec(23, 10, 40));
  EXPECT_NEAR(table[0].SessionTime, 32 * kMinute, kTime);
  EXPECT_EQ(accounting.LastTickTime(), Dec(23, 10, 32));
  table[1].Selected = true;
  accounting.AccountingTick(table, General(4), Dec(23, 10, 41));
  EXPECT_NEAR(table[1].SessionTime, 41 * kMinute, kTime);
  EXPECT_NEAR(table[1].TodayTime, 9 * kMinute, kTime);
}

TEST(Accounting, OnlineOverMidnightEachPartCountsTowardItsOwnDay) {
  TAccountTable table = Table();
  RatePlan plan = General(1);
  AddSection(plan, 0, 0, 1, 6);  // the first hour after midnight costs more
  Accounting accounting;
  accounting.Reset(Dec(23, 23));
  accounting.RecordConnectTime(Dec(23, 23, 30));
  accounting.AccountingTick(table, plan, Dec(23, 23, 59, 30));
  EXPECT_NEAR(table[0].TodayTime, 29.5 * kMinute, kTime);

  // This tick's delta spans midnight: its first half belongs to the day that ended.
  accounting.AccountingTick(table, plan, Dec(24, 0, 0, 30));
  EXPECT_NEAR(table[0].TodayTime, 30 * kSecond, kTime);
  EXPECT_NEAR(table[0].TodayExpense, 30.0 / 3600 * 6, kMoney);
  EXPECT_NEAR(table[0].BillingTime, 30.5 * kMinute, kTime);
  EXPECT_NEAR(table[0].SessionTime, 30.5 * kMinute, kTime);
  accounting.AccountingTick(table, plan, Dec(24, 0, 10));
  EXPECT_NEAR(table[0].TodayTime, 10 * kMinute, kTime);
  EXPECT_NEAR(table[0].TodayExpense, 1, kMoney);

  // Into a billing day the billing period restarts at midnight with today's counters.
  plan.BillingDay = 25;
  accounting.AccountingTick(table, plan, Dec(25, 0, 0, 1));
  EXPECT_NEAR(table[0].TodayTime, kSecond, kTime);
  EXPECT_EQ(table[0].BillingTime, table[0].TodayTime);
  EXPECT_EQ(table[0].BillingExpense, table[0].TodayExpense);
}

TEST(Accounting, OfflineAtMidnightTodayRestartsForEveryRow) {
  TAccountTable table = Table();
  for (AccountInfo& row : table) {
    row.TodayTime = row.BillingTime = kHour;
    row.TodayExpense = row.BillingExpense = 2;
  }
  RatePlan plan = General(1);
  plan.BillingDay = 24;
  Accounting accounting;
  accounting.Reset(Dec(23, 12));
  accounting.AccountingTick(table, plan, Dec(23, 23, 59, 59));
  EXPECT_EQ(table[1].TodayTime, kHour);
  accounting.AccountingTick(table, plan, Dec(24, 0, 0, 0));
  for (const AccountInfo& row : {table[0], table[1]}) {
    EXPECT_EQ(row.TodayTime, 0);
    EXPECT_EQ(row.TodayExpense, 0);
  }
  // The billing day restarts the selected connection's period; another's plan is unknown.
  EXPECT_EQ(table[0].BillingTime, 0);
  EXPECT_EQ(table[1].BillingTime, kHour);

  // A session the next day grows today's counters from its connect.
  accounting.RecordConnectTime(Dec(24, 8));
  accounting.AccountingTick(table, plan, Dec(24, 8, 1));
  EXPECT_NEAR(table[0].TodayTime, kMinute, kTime);
}

TEST(Accounting, TheSessionRecordIsGivenOncePerSession) {
  TAccountTable table = Table();
  Accounting accounting;
  accounting.Reset(Dec(23, 9));
  EXPECT_FALSE(accounting.SessionRecord(table, "A", Dec(23, 9, 1)));  // no connect yet
  EXPECT_TRUE(accounting.SessionSaved());

  accounting.RecordConnectTime(Dec(23, 10));
  EXPECT_FALSE(accounting.SessionSaved());
  accounting.AccountingTick(table, General(2), Dec(23, 10, 30));
  const std::optional<TimeRecord> record = accounting.SessionRecord(table, "A", Dec(23, 10, 45));
  ASSERT_TRUE(record);
  EXPECT_EQ(record->start, Dec(23, 10));
  EXPECT_NEAR(record->duration, 45 * kMinute, kTime);
  EXPECT_NEAR(record->expense, 1, kMoney);  // as the last tick left it
  EXPECT_EQ(record->entry, "A");
  EXPECT_FALSE(accounting.SessionRecord(table, "A", Dec(23, 10, 46)));  // hung up twice

  // Ticks after the record count nothing more.
  accounting.AccountingTick(table, General(2), Dec(23, 11));
  EXPECT_NEAR(table[0].SessionTime, 30 * kMinute, kTime);

  accounting.RecordConnectTime(Dec(23, 12));
  const std::optional<TimeRecord> other = accounting.SessionRecord(table, "C", Dec(23, 12, 1));
  ASSERT_TRUE(other);
  EXPECT_EQ(other->expense, 0);  // no row of that name
}

TEST(Accounting, CheckpointsTheRunningSessionEveryHalfMinute) {
  TAccountTable table = Table();
  Accounting accounting;
  accounting.Reset(Dec(23, 9));
  EXPECT_FALSE(accounting.CheckpointRecord(table, "A", Dec(23, 9)));  // nothing runs
  accounting.RecordConnectTime(Dec(23, 10));
  ASSERT_TRUE(accounting.CheckpointRecord(table, "A", Dec(23, 10, 0, 1)));
  EXPECT_FALSE(accounting.CheckpointRecord(table, "A", Dec(23, 10, 0, 30)));
  const std::optional<TimeRecord> due = accounting.CheckpointRecord(table, "A", Dec(23, 10, 0, 32));
  ASSERT_TRUE(due);
  EXPECT_NEAR(due->duration, 32 * kSecond, kTime);
  EXPECT_FALSE(accounting.SessionSaved());
  ASSERT_TRUE(accounting.SessionRecord(table, "A", Dec(23, 10, 1)));
  EXPECT_FALSE(accounting.CheckpointRecord(table, "A", Dec(23, 10, 5)));
}

}  // namespace
