// The schedule dialogs, shown modally over `owner` (defined in the *_dialog_win.cpp views).
#pragma once

#include <optional>

#include "schedule/schedule_form_model.h"
#include "schedule/schedule_list_model.h"
#include "platform/dialog_win.h"

// "Schedules", starting from `model`; what OK hands back, nullopt when cancelled.
std::optional<ScheduleListResult> ShowScheduleListDialog(HWND owner,
                                                         const ScheduleListModel& model);

// "New Schedule" or "Edit Schedule" showing `values`; the inputs on OK, nullopt when
// cancelled.
std::optional<ScheduleFormValues> ShowScheduleFormDialog(HWND owner,
                                                         const ScheduleFormValues& values);
