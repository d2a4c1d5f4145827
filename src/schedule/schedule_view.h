// What the schedules ask of the main window.
#pragma once

#include <optional>

#include "schedule/schedule_list_model.h"

class ScheduleView {
 public:
  virtual ~ScheduleView() = default;
  // Shows the schedule list dialog, starting from `model`, over the main window; what OK
  // hands back, nullopt when cancelled.
  virtual std::optional<ScheduleListResult> ShowScheduleList(const ScheduleListModel& model) = 0;
};
