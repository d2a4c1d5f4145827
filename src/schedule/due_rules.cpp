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

constexpr uint64_t kMonotonicMsPerMinute = 60000;

// Due again on a new date: Performed only holds it back on the date it ran.
bool ArmedOn(const ScheduleItem& s, double now) {
  return !s.Performed || Day(now) != Day(s.LastPerformed);
}

// From `set` (a time of day) to the end of the window, not past midnight; or `set` today
// was skipped by a jump of the clock.
bool InDailyWindow(const ScheduleNow& now, double set, int validity) {
  const int64_t since = TimeOfDayMs(now.local) - TimeOfDayMs(set);
  if (since >= 0 && since <= validity * kMsPerMinute)
    return true;
  if (!now.skipped_from)
    return false;
  const int64_t today_at = Day(now.local) * kMsPerDay + TimeOfDayMs(set);
  return since >= 0 && today_at >= Ms(*now.skipped_from);
}

bool OnlyOnceDue(const ScheduleItem& s, double now) {
  const int64_t last = Ms(s.LastPerformed), set = Ms(s.DateTime01), at = Ms(now);
  return !s.Performed && set > last && at > last && at >= set &&
         at - set <= s.PeriodOfValidity * kMsPerMinute;
}

// Once in each hour: it ran in another hour, or never.
bool HourlyDue(const ScheduleItem& s, double now) {
  const CalendarTime t = FromDateTime(now);
  const bool other_hour =
      Day(now) != Day(s.LastPerformed) || t.hour != FromDateTime(s.LastPerformed).hour;
  // In 64 bits: a hand-edited minute far below zero would overflow an int.
  int64_t late = int64_t{t.minute} - s.Minute11;
  if (s.Minute11 == 59 && t.minute == 0)
    late = 1;
  return other_hour && late > 0 && late <= s.PeriodOfValidity;
}

bool DailyDue(const ScheduleItem& s, const ScheduleNow& now) {
  return ArmedOn(s, now.local) && Ms(now.local) > Ms(s.LastPerformed) &&
         InDailyWindow(now, s.Time21, s.PeriodOfValidity);
}

bool WeeklyDue(const ScheduleItem& s, const ScheduleNow& now) {
  return ArmedOn(s, now.local) && FromDateTime(now.local).day_of_week == s.Week31 &&
         InDailyWindow(now, s.Time32, s.PeriodOfValidity);
}

bool MonthlyDue(const ScheduleItem& s, const ScheduleNow& now) {
  return ArmedOn(s, now.local) && FromDateTime(now.local).day - 1 == s.Month41 &&
         InDailyWindow(now, s.Time42, s.PeriodOfValidity);
}

// The loop's interval in minutes; 0 or less never comes due.
int64_t LoopInterval(const ScheduleItem& s) {
  return int64_t{s.Hour51} * 60 + s.Minute52;
}

// Whole minutes from the loop's origin to the latest multiple of its interval that has
// passed; 0 when none has (or the loop has no origin or interval).
int64_t LatestMultiple(const ScheduleItem& s, uint64_t now_ms) {
  const int64_t interval = LoopInterval(s);
  if (interval <= 0 || !s.LoopOrigin || now_ms < *s.LoopOrigin)
    return 0;
  const auto elapsed = static_cast<int64_t>((now_ms - *s.LoopOrigin) / kMonotonicMsPerMinute);
  return elapsed / interval * interval;
}

// Performed plays no part: only the multiples of the interval count.
bool LoopDue(const ScheduleItem& s, uint64_t now_ms) {
  const int64_t latest = LatestMultiple(s, now_ms);
  if (latest == 0)
    return false;
  const auto elapsed = static_cast<int64_t>((now_ms - *s.LoopOrigin) / kMonotonicMsPerMinute);
  return elapsed - latest <= s.PeriodOfValidity;
}

}  // namespace

bool IsDue(const ScheduleItem& item, const ScheduleNow& now) {
  switch (item.Period) {
    case kOnlyOnce:
      return OnlyOnceDue(item, now.local);
    case kHourly:
      return HourlyDue(item, now.local);
    case kDaily:
      return DailyDue(item, now);
    case kWeekly:
      return WeeklyDue(item, now);
    case kMonthly:
      return MonthlyDue(item, now);
    case kLoop:
      return LoopDue(item, now.monotonic_ms);
    default:
      return false;
  }
}

void MarkPerformed(ScheduleItem& item, const ScheduleNow& now) {
  item.LastPerformed = now.local;
  item.Performed = true;
  if (item.Period == kLoop && item.LoopOrigin) {
    *item.LoopOrigin +=
        static_cast<uint64_t>(LatestMultiple(item, now.monotonic_ms)) * kMonotonicMsPerMinute;
  }
}

void StartLoop(ScheduleItem& item, const ScheduleNow& now) {
  if (item.Period == kLoop && !item.LoopOrigin)
    item.LoopOrigin = now.monotonic_ms;
}
