// The schedule list dialog's rules: a working copy of the table, its rows, which controls
// are usable, and adding, editing and removing schedules.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/locale.h"
#include "schedule/schedule_form_model.h"
#include "schedule/schedule_store.h"

// "Sunday" to "Saturday" for 0 to 6; empty for any other day.
std::string DayName(int day);

// The cells Task, Period, Time, Confirm and Period of validity. Dates and times in the
// user's short date and long time formats.
using ScheduleRow = std::array<std::string, 5>;
ScheduleRow ScheduleRowOf(const ScheduleItem& item, Locale& locale);

// What OK hands back: the whole working table and the "Enable all schedules" box, and
// for each slot the slot of the table given at opening that it holds unedited, or -1 for
// a schedule added or edited: ticks that ran while the dialog was open changed that
// table's run-time state, which the unedited schedules go on from.
struct ScheduleListResult {
  ScheduleTable Table;
  bool EnableAllSchedules = false;
  std::array<int, kScheduleSlots> Source{};
};

struct ScheduleListControls {
  bool List = false;  // the group with the list and the three buttons
  bool Add = false;
  bool Edit = false;
  bool Remove = false;
};

constexpr const char* kScheduleListFull =
    "There is room for 100 schedules, and all of them are taken. Remove one to add another.";

// Row i of the list is working slot i.
class ScheduleListModel {
 public:
  ScheduleListModel(const ScheduleTable& table, bool enable_all, Locale& locale, Clock& clock);

  std::vector<ScheduleRow> Rows() const;
  bool EnableAllSchedules() const { return result_.EnableAllSchedules; }
  void SetEnableAllSchedules(bool on) { result_.EnableAllSchedules = on; }
  // Unchecked, the group and its buttons are disabled; checked, Add is enabled, and Edit
  // and Remove when a row is selected.
  ScheduleListControls Controls(bool row_selected) const;

  // The edit dialog's inputs for a new schedule; nullopt when every slot is taken (the
  // user is then told kScheduleListFull).
  std::optional<ScheduleFormValues> NewSchedule() const;
  // The edit dialog's inputs for row `index` (0 to rows - 1).
  ScheduleFormValues EditSchedule(int index) const;
  // Stores the edit dialog's inputs at row `index`, or -1 for a new schedule in the first
  // free slot. A new schedule without a free slot is dropped.
  void Store(int index, const ScheduleFormValues& values);
  // Removes row `index`; the rows after it move up.
  void Remove(int index);

  const ScheduleListResult& Result() const { return result_; }

 private:
  ScheduleListResult result_;
  Locale* locale_;
  Clock* clock_;
};
