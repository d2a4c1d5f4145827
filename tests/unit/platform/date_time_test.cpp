// Date-times against calendar dates worked out by hand.
#include "platform/date_time.h"

#include <gtest/gtest.h>

namespace {

TEST(DateTime, KnownDatesAndTimesBothWays) {
  struct Known {
    double date_time;
    CalendarTime time;
  };
  const Known known[] = {
      {0.0, {1899, 12, 30, 0, 0, 0, 0, 6}},     {2.0, {1900, 1, 1, 0, 0, 0, 0, 1}},
      {61.0, {1900, 3, 1, 0, 0, 0, 0, 4}},  // 1900 had no 29 February
      {36585.5, {2000, 2, 29, 12, 0, 0, 0, 2}}, {46381.75, {2026, 12, 25, 18, 0, 0, 0, 5}},
  };
  for (const Known& k : known) {
    const CalendarTime time = FromDateTime(k.date_time);
    EXPECT_EQ(k.time.year, time.year) << k.date_time;
    EXPECT_EQ(k.time.month, time.month) << k.date_time;
    EXPECT_EQ(k.time.day, time.day) << k.date_time;
    EXPECT_EQ(k.time.hour, time.hour) << k.date_time;
    EXPECT_EQ(k.time.day_of_week, time.day_of_week) << k.date_time;
    EXPECT_DOUBLE_EQ(k.date_time, ToDateTime(k.time));
  }
}

TEST(DateTime, TheLastMillisecondOfADayStaysInThatDay) {
  const CalendarTime saturday{2026, 12, 26, 23, 59, 59, 999};
  const CalendarTime time = FromDateTime(ToDateTime(saturday));
  EXPECT_EQ(26, time.day);
  EXPECT_EQ(6, time.day_of_week);
  EXPECT_EQ(23, time.hour);
  EXPECT_EQ(59, time.minute);
  EXPECT_EQ(59, time.second);
  EXPECT_EQ(999, time.millisecond);
  const CalendarTime next = FromDateTime(ToDateTime(saturday) + 1.0 / 86400000);
  EXPECT_EQ(27, next.day);
  EXPECT_EQ(0, next.hour);
  EXPECT_EQ(0, next.day_of_week);
}

}  // namespace
