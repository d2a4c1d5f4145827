// The schedule list dialog's rules.
#include "schedule/schedule_list_model.h"

#include <algorithm>

namespace {

std::string TaskText(int event) {
  static const char* const kTasks[] = {"Connect", "Disconnect", "Shut down PC", "Reconnect"};
  return event >= 0 && event < 4 ? kTasks[event] : "";
}

std::string PeriodText(int period) {
  static const char* const kPeriods[] = {"Only once", "Hourly",  "Daily",
                                         "Weekly",    "Monthly", "Loop"};
  return period >= 0 && period < 6 ? kPeriods[period] : "";
}

std::string TimeText(const ScheduleItem& s, Locale& locale) {
  using std::to_string;
  switch (s.Period) {
    case kOnlyOnce:
      return locale.ShortDate(s.DateTime01) + " " + locale.LongTime(s.DateTime01);
    case kHourly:
      return to_string(s.Minute11) + " minutes";
    case kDaily:
      return locale.LongTime(s.Time21);
    case kWeekly:
      return DayName(s.Week31) + " " + locale.LongTime(s.Time32);
    case kMonthly:
      return to_string(s.Month41 + 1) + "  " + locale.LongTime(s.Time42);
    case kLoop:
      return to_string(s.Hour51) + "hour " + to_string(s.Minute52) + "minutes";
    default:
      return "";
  }
}

}  // namespace

std::string DayName(int day) {
  static const char* const kDays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                      "Thursday", "Friday", "Saturday"};
  return day >= 0 && day < 7 ? kDays[day] : "";
}

ScheduleRow ScheduleRowOf(const ScheduleItem& item, Locale& locale) {
  return {TaskText(item.EventType), PeriodText(item.Period), TimeText(item, locale),
          item.Confirm ? "Yes" : "No", std::to_string(item.PeriodOfValidity)};
}

ScheduleListModel::ScheduleListModel(const ScheduleTable& table, bool enable_all, Locale& locale,
                                     Clock& clock)
    : result_{table, enable_all}, locale_(&locale), clock_(&clock) {
  for (int slot = 0; slot < kScheduleSlots; ++slot)
    result_.Source[slot] = slot < ScheduleCount(table) ? slot : -1;
}

std::vector<ScheduleRow> ScheduleListModel::Rows() const {
  std::vector<ScheduleRow> rows;
  for (int slot = 0; slot < ScheduleCount(result_.Table); ++slot)
    rows.push_back(ScheduleRowOf(result_.Table[slot], *locale_));
  return rows;
}

ScheduleListControls ScheduleListModel::Controls(bool row_selected) const {
  const bool on = result_.EnableAllSchedules;
  return {on, on, on && row_selected, on && row_selected};
}

std::optional<ScheduleFormValues> ScheduleListModel::NewSchedule() const {
  if (ScheduleCount(result_.Table) == kScheduleSlots)
    return std::nullopt;
  return NewScheduleValues(clock_->LocalNow());
}

ScheduleFormValues ScheduleListModel::EditSchedule(int index) const {
  return EditScheduleValues(result_.Table.at(index), clock_->LocalNow());
}

void ScheduleListModel::Store(int index, const ScheduleFormValues& values) {
  const int slot = index >= 0 ? index : ScheduleCount(result_.Table);
  if (slot >= kScheduleSlots)
    return;
  result_.Table[slot] = StoreSchedule(result_.Table[slot], values);
  result_.Source[slot] = -1;
}

void ScheduleListModel::Remove(int index) {
  ScheduleTable& table = result_.Table;
  if (index < 0 || index >= ScheduleCount(table))
    return;
  std::move(table.begin() + index + 1, table.end(), table.begin() + index);
  table.back() = ScheduleItem();
  std::array<int, kScheduleSlots>& source = result_.Source;
  std::move(source.begin() + index + 1, source.end(), source.begin() + index);
  source.back() = -1;
}
