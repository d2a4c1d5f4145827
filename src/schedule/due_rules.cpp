// The due rules of the six period types.
#include "schedule/due_rules.h"

#include <cmath>
#include <cstdint>

#include "platform/date_time.h"

namespace {

constexpr int64_t kMsPerMinute = 60000;
constexpr int64_t kMsPerDay = 24 * 60 * kMsPerMinute;

// Date-times in whole milliseconds, so that a time of day taken from dates far apart
// compares exactly.
int64_t Ms(double date_time) {
  return std::llround(date_time * kMsPerDay);
}

int64_t TimeOfDayMs(double date_time) {
  return Ms(date_time) % kMsPerDay;
}

int64_t Day(double date_time) {
  return Ms(date_time) / kMsPerDay;
}

// From `set` (a time of day) to the end of the window, not past midnight.
bool InDailyWindow(double now, double set, int validity) {
  const int64_t since = TimeOfDayMs(now) - TimeOfDayMs(set);
  return since >= 0 && since <= validity * kMsPerMinute;
}

bool OnlyOnceDue(const ScheduleItem& s, double now) {
  const int64_t last = Ms(s.LastPerformed), set = Ms(s.DateTime01), at = Ms(now);
  return !s.Performed && set > last && at > last && at >= set &&
         at - set <= s.PeriodOfValidity * kMsPerMinute;
}

bool HourlyDue(const ScheduleItem& s, double now) {
  const CalendarTime t = FromDateTime(now);
  const bool other_hour =
      Day(now) != Day(s.LastPerformed) || t.hour != FromDateTime(s.LastPerformed).hour;
  // In 64 bits: a hand-edited minute far below zero would overflow an int.
  const int64_t late = int64_t{t.minute} - s.Minute11;
  return !s.Performed && other_hour && late > 0 && late <= s.PeriodOfValidity;
}

bool DailyDue(const ScheduleItem& s, double now) {
  return !s.Performed && Ms(now) > Ms(s.LastPerformed) &&
         InDailyWindow(now, s.Time21, s.PeriodOfValidity);
}

bool WeeklyDue(const ScheduleItem& s, double now) {
  return !s.Performed && FromDateTime(now).day_of_week == s.Week31 &&
         InDailyWindow(now, s.Time32, s.PeriodOfValidity);
}

bool MonthlyDue(const ScheduleItem& s, double now) {
  return !s.Performed && FromDateTime(now).day - 1 == s.Month41 &&
         InDailyWindow(now, s.Time42, s.PeriodOfValidity);
}

// Performed plays no part: only the time since the last performance counts.
bool LoopDue(const ScheduleItem& s, double now) {
  const int64_t interval = int64_t{s.Hour51} * 60 + s.Minute52;
  if (interval <= 0)
    return false;
  const int64_t elapsed = (Ms(now) - Ms(s.LastPerformed)) / kMsPerMinute;
  return elapsed >= interval && elapsed - interval <= s.PeriodOfValidity;
}

}  // namespace

bool IsDue(const ScheduleItem& item, double now) {
  switch (item.Period) {
    case kOnlyOnce:
      return OnlyOnceDue(item, now);
    case kHourly:
      return HourlyDue(item, now);
    case kDaily:
      return DailyDue(item, now);
    case kWeekly:
      return WeeklyDue(item, now);
    case kMonthly:
      return MonthlyDue(item, now);
    case kLoop:
      return LoopDue(item, now);
    default:
      return false;
  }
}

bool RearmsHourly(double now) {
  const CalendarTime t = FromDateTime(now);
  return t.minute == 0 && t.second == 0;
}

double StartingMark(const ScheduleItem& item, double now) {
  return item.Period == kLoop ? now : 0;
}
