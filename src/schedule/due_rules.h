// When a schedule comes due: pure functions of a schedule and the clocks.
#pragma once

#include <cstdint>
#include <optional>

#include "schedule/schedule_store.h"

// The clocks a due test reads.
struct ScheduleNow {
  // The local date-time (platform/date_time.h): it jumps when the clock is set or daylight
  // saving begins or ends.
  double local = 0;
  // Milliseconds that never go back and run on through a sleep: a loop's intervals count
  // on them, so that no change of the clock moves a loop.
  uint64_t monotonic_ms = 0;
  // When the local clock jumped forward since the last check (daylight saving began, or the
  // clock was set on): the local time it jumped from. A set time of today from then up to
  // `local` was skipped by the jump and is due now.
  std::optional<double> skipped_from{};
};

// Whether `item` comes due at `now` by the rule of its Period; a Period outside the six
// types never comes due. Times compare to the millisecond, bounds included.
// - Only once: from its date and time to the end of its window, across midnight, once.
// - Hourly: in the minutes after its minute (strictly) up to its window, not past the full
//   hour, once in each hour; minute 59, which no later minute of its hour can follow, is
//   due in minute 0 of the next.
// - Daily, weekly (on its day) and monthly (on its day): from its time of day to the end
//   of its window, not past midnight, once on each date.
// - Loop: at every multiple of its interval after its origin, while that multiple's window
//   is open; multiples whose window closed unseen (a sleep) are skipped. A loop without an
//   origin is not due.
bool IsDue(const ScheduleItem& item, const ScheduleNow& now);

// A schedule that came due: when, and for a loop the multiple of its interval it ran for,
// so that the next multiple keeps the rhythm.
void MarkPerformed(ScheduleItem& item, const ScheduleNow& now);

// A loop that has no origin yet counts its intervals from `now`.
void StartLoop(ScheduleItem& item, const ScheduleNow& now);
