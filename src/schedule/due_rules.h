// When a schedule comes due: pure functions of a schedule and the local date-time.
#pragma once

#include "schedule/schedule_store.h"

// Whether `item` comes due at `now` (local date-time) by the rule of its Period; a Period
// outside the six types never comes due. Times compare to the millisecond, bounds
// included. The window of validity of a daily, weekly or monthly schedule ends at
// midnight, an hourly one's at the full hour; an only-once window runs on across midnight.
// An hourly schedule's Performed mark must have been cleared by RearmsHourly first.
bool IsDue(const ScheduleItem& item, double now);

// Whether `now` is the first second of an hour, which re-arms hourly schedules.
bool RearmsHourly(double now);

// The LastPerformed a schedule starts from when it is loaded or stored: a loop counts its
// first interval from `now`, every other type from zero, which leaves it due at its set
// time.
double StartingMark(const ScheduleItem& item, double now);
