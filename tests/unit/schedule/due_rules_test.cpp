// The due rules of the six period types, at the bounds of their windows.
#include <gtest/gtest.h>

#include <climits>

#include "platform/date_time.h"
#include "schedule/due_rules.h"

namespace {

double At(int day, int hour, int minute, int second = 0, int month = 6) {
  return ToDateTime({2026, month, day, hour, minute, second});
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

TEST(DueRules, HourlyIsDueStrictlyAfterItsMinuteOncePerHourUntilTheFullHour) {
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
  s.Performed = true;
  EXPECT_FALSE(IsDue(s, At(1, 11, 16)));

  EXPECT_TRUE(RearmsHourly(At(1, 11, 0, 0)));
  EXPECT_FALSE(RearmsHourly(At(1, 11, 0, 1)));
  EXPECT_FALSE(RearmsHourly(At(1, 11, 1, 0)));
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

TEST(DueRules, DailyWeeklyAndMonthlyWindowsEndAtMidnight) {
  ScheduleItem daily = Schedule(kDaily);
  daily.Time21 = ToDateTime({2001, 2, 3, 23, 55});  // only the time of day counts
  EXPECT_FALSE(IsDue(daily, At(1, 23, 54, 59)));
  EXPECT_TRUE(IsDue(daily, At(1, 23, 55)));
  EXPECT_TRUE(IsDue(daily, At(1, 23, 59, 59)));
  EXPECT_FALSE(IsDue(daily, At(2, 0, 3)));
  daily.LastPerformed = At(1, 23, 56);
  EXPECT_FALSE(IsDue(daily, At(1, 23, 56)));

  ScheduleItem weekly = Schedule(kWeekly);
  weekly.Week31 = 0;
  weekly.Time32 = ToDateTime({2001, 2, 3, 8, 0});
  EXPECT_TRUE(IsDue(weekly, At(7, 8, 5)));  // a Sunday
  for (int day = 1; day <= 6; ++day)
    EXPECT_FALSE(IsDue(weekly, At(day, 8, 5))) << day;

  ScheduleItem monthly = Schedule(kMonthly);
  monthly.Month41 = 30;
  monthly.Time42 = ToDateTime({2001, 2, 3, 8, 0});
  for (int day = 1; day <= 30; ++day)
    EXPECT_FALSE(IsDue(monthly, At(day, 8, 5))) << day;  // June has no 31st
  EXPECT_TRUE(IsDue(monthly, At(31, 8, 5, 0, 7)));
}

TEST(DueRules, ALoopCountsWholeMinutesFromItsStartingMark) {
  ScheduleItem never = Schedule(kLoop);
  never.LastPerformed = StartingMark(never, At(1, 9, 0));
  EXPECT_FALSE(IsDue(never, At(1, 9, 0)));
  EXPECT_FALSE(IsDue(never, At(1, 9, 5)));

  ScheduleItem loop = Schedule(kLoop);
  loop.Hour51 = 2;
  loop.Minute52 = 30;
  loop.Performed = true;  // plays no part
  loop.LastPerformed = StartingMark(loop, At(1, 9, 0, 30));
  EXPECT_FALSE(IsDue(loop, At(1, 11, 30, 29)));
  EXPECT_TRUE(IsDue(loop, At(1, 11, 30, 30)));
  EXPECT_TRUE(IsDue(loop, At(1, 11, 41, 29)));  // 10 minutes and 59 seconds late
  EXPECT_FALSE(IsDue(loop, At(1, 11, 41, 30)));

  EXPECT_EQ(StartingMark(Schedule(kDaily), At(1, 9, 0)), 0);
  EXPECT_FALSE(IsDue(Schedule(6), At(1, 9, 0)));
}

}  // namespace
