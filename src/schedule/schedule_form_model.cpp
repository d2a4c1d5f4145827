// The schedule edit dialog's rules.
#include "schedule/schedule_form_model.h"

#include <cmath>

bool ReconnectHoursEnabled(int event) {
  return event == kReconnect;
}

ScheduleFormValues NewScheduleValues(double now) {
  ScheduleFormValues v;
  v.Date01 = std::floor(now);
  v.Time02 = v.Time21 = v.Time32 = v.Time42 = now;
  return v;
}

namespace {

// A date-time the slot never had set stays as a new schedule shows it.
void TakeSet(double& input, double stored) {
  if (stored != 0)
    input = stored;
}

}  // namespace

ScheduleFormValues EditScheduleValues(const ScheduleItem& item, double now) {
  ScheduleFormValues v = NewScheduleValues(now);
  v.Editing = true;
  v.Event = item.EventType;
  v.Period = item.Period;
  if (item.DateTime01 != 0) {
    v.Date01 = std::floor(item.DateTime01);
    v.Time02 = item.DateTime01;
  }
  v.Minute11 = item.Minute11;
  TakeSet(v.Time21, item.Time21);
  v.Week31 = item.Week31;
  TakeSet(v.Time32, item.Time32);
  v.Month41 = item.Month41;
  TakeSet(v.Time42, item.Time42);
  v.Hour51 = item.Hour51;
  v.Minute52 = item.Minute52;
  v.PeriodOfValidity = item.PeriodOfValidity;
  v.Confirm = item.Confirm;
  v.ReconnectAfterHours = item.ReconnectAfterHours;
  return v;
}

ScheduleItem StoreSchedule(ScheduleItem slot, const ScheduleFormValues& v) {
  slot.InUse = true;
  slot.EventType = v.Event;
  slot.Period = v.Period;
  switch (v.Period) {
    case kOnlyOnce:
      slot.DateTime01 = std::floor(v.Date01) + (v.Time02 - std::floor(v.Time02));
      break;
    case kHourly:
      slot.Minute11 = v.Minute11;
      break;
    case kDaily:
      slot.Time21 = v.Time21;
      break;
    case kWeekly:
      slot.Week31 = v.Week31;
      slot.Time32 = v.Time32;
      break;
    case kMonthly:
      slot.Month41 = v.Month41;
      slot.Time42 = v.Time42;
      break;
    case kLoop:
      slot.Hour51 = v.Hour51;
      slot.Minute52 = v.Minute52;
      break;
  }
  TakeRunState(slot, ScheduleItem());
  slot.PeriodOfValidity = v.PeriodOfValidity;
  slot.Confirm = v.Confirm;
  slot.ReconnectAfterHours = v.ReconnectAfterHours;
  return slot;
}
