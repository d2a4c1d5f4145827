// The schedule edit dialog's rules: what its inputs show for a new or a stored schedule,
// and the schedule they make on OK.
#pragma once

#include "schedule/schedule_store.h"

// The inputs of the dialog. Date-times as in platform/date_time.h; of the date picker
// Date01 only the date counts, of the time pickers only the time of day.
struct ScheduleFormValues {
  bool Editing = false;  // the caption: a stored schedule or a new one
  int Event = kConnect;
  int Period = kOnlyOnce;  // the chosen radio button
  double Date01 = 0;
  double Time02 = 0;
  int Minute11 = 0;  // up-down 0 to 59
  double Time21 = 0;
  int Week31 = 0;  // "Sunday" to "Saturday"
  double Time32 = 0;
  int Month41 = 0;  // "1" to "31"
  double Time42 = 0;
  int Hour51 = 0;             // up-down 0 to 100
  int Minute52 = 0;           // up-down 0 to 59
  int PeriodOfValidity = 10;  // up-down 1 to 999
  bool Confirm = false;
  int ReconnectAfterHours = 0;  // up-down 0 to kMaxReconnectAfterHours
};

constexpr const char* kNewScheduleCaption = "New Schedule";
constexpr const char* kEditScheduleCaption = "Edit Schedule";

// The hours a reconnect waits for are an input of the Reconnect task only.
bool ReconnectHoursEnabled(int event);

// A new schedule: Connect, only once, today at the time `now`, valid 10 minutes.
ScheduleFormValues NewScheduleValues(double now);

// A stored schedule: its event, period, validity, confirmation and reconnect hours, and the fields
// of every period type as stored; a date-time never set (0) shows what a new schedule shows.
ScheduleFormValues EditScheduleValues(const ScheduleItem& item, double now);

// The schedule stored on OK into `slot`: in use, with the inputs of the chosen period type
// (the other types' fields keep what the slot had), with no run-time state: not performed,
// and a loop starts counting anew. No input is refused.
ScheduleItem StoreSchedule(ScheduleItem slot, const ScheduleFormValues& values);
