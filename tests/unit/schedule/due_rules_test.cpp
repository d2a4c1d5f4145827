// The due rules of the six period types, at the bounds of their windows.
#include <gtest/gtest.h>

#include <climits>

#include "platform/date_time.h"
#include "schedule/due_rules.h"

namespace {

double At(int day, int hour, int minute, int second = 0, int month = 6) {
  return ToDateTime({2026, month, day, hour, minute, second});
}

// Due at a local time, the clock unchanged since the last check.
bool IsDue(const ScheduleItem& s, double local) {
  return IsDue(s, ScheduleNow{local});
}

ScheduleItem Schedule(int period) {
  ScheduleItem s;
  s.InUse = true;
  s.Period = period;
  return s;
}

TEST(DueRules, OnlyOnceIsDueFromItsTimeToTheEndOfItsWindowAcrossMidnight) {
  ScheduleItem s = Schedule(kOnlyOnce);
  s.DateTime01 = At(1, 10, 0);
  EXPECT_FALSE(IsDue(s, At(1, 9, 59, 59)));
  EXPECT_TRUE(IsDue(s, At(1, 10, 0)));
  EXPECT_TRUE(IsDue(s, At(1, 10, 10)));
  EXPECT_FALSE(IsDue(s, At(1, 10, 10, 1)));
  EXPECT_FALSE(IsDue(s, At(1, 10, 12)));  // started too late
  s.Performed = true;
  EXPECT_FALSE(IsDue(s, At(1, 10, 5)));

  ScheduleItem late = Schedule(kOnlyOnce);
  late.DateTime01 = At(1, 23, 58);
  EXPECT_TRUE(IsDue(late, At(2, 0, 3)));
}

TEST(DueRules, HourlyIsDueStrictlyAfterItsMinuteOnceInEveryHourUntilTheFullHour) {
  ScheduleItem s = Schedule(kHourly);
  s.Minute11 = 15;
  EXPECT_FALSE(IsDue(s, At(1, 10, 15, 30)));
  EXPECT_TRUE(IsDue(s, At(1, 10, 16)));
  EXPECT_TRUE(IsDue(s, At(1, 10, 25, 59)));
  EXPECT_FALSE(IsDue(s, At(1, 10, 26)));

  s.LastPerformed = At(1, 10, 16);
  EXPECT_FALSE(IsDue(s, At(1, 10, 20)));  // the same hour, even unperformed
  EXPECT_TRUE(IsDue(s, At(1, 11, 16)));
  EXPECT_TRUE(IsDue(s, At(2, 10, 16)));  // the same hour of another day
  s.Performed = true;                    // with no tick at 11:00:00 to re-arm it
  EXPECT_TRUE(IsDue(s, At(1, 11, 17, 3)));

  // Minute 59 has no later minute in its hour: it is due in minute 0 of the next.
  ScheduleItem last = Schedule(kHourly);
  last.Minute11 = 59;
  last.PeriodOfValidity = 1;
  EXPECT_FALSE(IsDue(last, At(1, 10, 59, 30)));
  EXPECT_TRUE(IsDue(last, At(1, 11, 0, 40)));
  EXPECT_FALSE(IsDue(last, At(1, 11, 1, 0)));
  last.LastPerformed = At(1, 11, 0, 40);
  last.Performed = true;
  EXPECT_FALSE(IsDue(last, At(1, 11, 0, 50)));
  EXPECT_TRUE(IsDue(last, At(1, 12, 0, 10)));
}

TEST(DueRules, NumbersEditedFarOutsideTheirControlsNeverComeDue) {
  // Schedules.ini takes any int; near the ends of its range the rules' sums overflowed.
  ScheduleItem hourly = Schedule(kHourly);
  hourly.Minute11 = INT_MIN;
  hourly.PeriodOfValidity = INT_MAX;
  ScheduleItem monthly = Schedule(kMonthly);
  monthly.Month41 = INT_MAX;
  for (double now : {At(1, 10, 16), At(30, 0, 0, 0, 1)}) {
    EXPECT_FALSE(IsDue(hourly, now));
    EXPECT_FALSE(IsDue(monthly, now));
  }
}

TEST(DueRules, DailyWeeklyAndMonthlyComeDueOnceADateInWindowsThatEndAtMidnight) {
  ScheduleItem daily = Schedule(kDaily);
  daily.Time21 = ToDateTime({2001, 2, 3, 23, 55});  // only the time of day counts
  EXPECT_FALSE(IsDue(daily, At(1, 23, 54, 59)));
  EXPECT_TRUE(IsDue(daily, At(1, 23, 55)));
  EXPECT_TRUE(IsDue(daily, At(1, 23, 59, 59)));
  EXPECT_FALSE(IsDue(daily, At(2, 0, 3)));
  daily.LastPerformed = At(1, 23, 56);
  daily.Performed = true;
  EXPECT_FALSE(IsDue(daily, At(1, 23, 57)));
  EXPECT_TRUE(IsDue(daily, At(2, 23, 57)));   // a new date re-arms it
  EXPECT_FALSE(IsDue(daily, At(1, 23, 56)));  // nor twice at one time, performed or not
  daily.Performed = false;
  EXPECT_FALSE(IsDue(daily, At(1, 23, 56)));

  // Daylight saving began at 02:00: the clock went on to 03:00 and 02:30 never came.
  ScheduleItem skipped = Schedule(kDaily);
  skipped.Time21 = ToDateTime({2001, 2, 3, 2, 30});
  EXPECT_FALSE(IsDue(skipped, At(29, 3, 0, 0, 3)));
  EXPECT_TRUE(IsDue(skipped, ScheduleNow{At(29, 3, 0, 0, 3), 0, At(29, 2, 0, 0, 3)}));
  EXPECT_FALSE(IsDue(skipped, ScheduleNow{At(29, 3, 0, 0, 3), 0, At(29, 2, 45, 0, 3)}));

  ScheduleItem weekly = Schedule(kWeekly);
  weekly.Week31 = 0;
  weekly.Time32 = ToDateTime({2001, 2, 3, 8, 0});
  EXPECT_TRUE(IsDue(weekly, At(7, 8, 5)));  // a Sunday
  weekly.LastPerformed = At(7, 8, 1);
  weekly.Performed = true;
  EXPECT_FALSE(IsDue(weekly, At(7, 8, 5)));
  EXPECT_TRUE(IsDue(weekly, At(14, 8, 5)));
  for (int day = 1; day <= 6; ++day)
    EXPECT_FALSE(IsDue(weekly, At(day, 8, 5))) << day;

  ScheduleItem monthly = Schedule(kMonthly);
  monthly.Month41 = 30;
  monthly.Time42 = ToDateTime({2001, 2, 3, 8, 0});
  for (int day = 1; day <= 30; ++day)
    EXPECT_FALSE(IsDue(monthly, At(day, 8, 5))) << day;  // June has no 31st
  EXPECT_TRUE(IsDue(monthly, At(31, 8, 5, 0, 7)));
}

TEST(DueRules, ALoopCountsWholeMinutesOnTheMonotonicClockAndKeepsItsRhythmAfterAGap) {
  constexpr uint64_t kMinute = 60000;
  const auto at = [](uint64_t ms) { return ScheduleNow{At(1, 9, 0), ms}; };
  ScheduleItem never = Schedule(kLoop);
  StartLoop(never, at(0));
  EXPECT_FALSE(IsDue(never, at(5 * kMinute)));

  ScheduleItem loop = Schedule(kLoop);
  loop.Hour51 = 2;
  loop.Minute52 = 30;
  EXPECT_FALSE(IsDue(loop, at(150 * kMinute)));  // not started
  StartLoop(loop, at(30000));
  StartLoop(loop, at(99 * kMinute));  // started once only
  loop.Performed = true;              // plays no part
  EXPECT_FALSE(IsDue(loop, at(150 * kMinute + 29999)));
  EXPECT_TRUE(IsDue(loop, at(150 * kMinute + 30000)));
  EXPECT_TRUE(IsDue(loop, at(161 * kMinute + 29999)));  // 10 minutes and 59 seconds late
  EXPECT_FALSE(IsDue(loop, at(161 * kMinute + 30000)));

  // Asleep past the fourth multiple into the window of the fifth: runs once, for the fifth.
  MarkPerformed(loop, at(5 * 150 * kMinute + 30000 + 4 * kMinute));
  EXPECT_EQ(*loop.LoopOrigin, 5 * 150 * kMinute + 30000);
  EXPECT_FALSE(IsDue(loop, at(5 * 150 * kMinute + 30000 + 9 * kMinute)));
  EXPECT_TRUE(IsDue(loop, at(6 * 150 * kMinute + 30000)));

  EXPECT_FALSE(IsDue(Schedule(6), At(1, 9, 0)));
}

}  // namespace
