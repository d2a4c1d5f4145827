// The schedules at run time: the table the program owns, its loading and saving, the
// check once a second that performs the schedules that came due, and the list dialog.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "log/connection_log.h"
#include "dialing/dialing_controller.h"
#include "ports/main_ports.h"
#include "platform/problem_report.h"
#include "schedule/due_rules.h"
#include "schedule/schedule_store.h"
#include "schedule/schedule_view.h"
#include "settings/app_settings.h"
#include "commands/commands.h"

// Connecting and hanging up run the Dial and Hang Up commands, so a schedule does exactly
// what the user's click does; a reconnect is the dialing controller's. A question runs a
// modal loop in which later ticks call CheckSchedules again: a schedule is marked as
// performed before it asks, so those calls never ask about it twice, while other schedules
// can come due in them. A schedule's run-time state stays with it when the file is read
// again and through the list dialog.
// A Schedules.ini that exists but cannot be read is said once and not written over: not
// at exit, and on the dialog's OK only when the user agrees to replace it.
class Scheduler {
 public:
  Scheduler(const MainPorts& ports, AppSettings& settings, const CommandTable& commands,
            DialingController& dialing, ConnectionLog& log, ProblemReport& problems,
            ScheduleView& view);

  const ScheduleTable& Table() const { return table_; }

  // Every slot free.
  void ClearSchedules();
  // Schedules.ini into the table; problems with the file are said once per run.
  void LoadSchedules();
  // Exit: the table into Schedules.ini, unless the file could not be read; a failure is
  // said in an error box.
  void SaveSchedules();

  // With CkbEnableAllSchedules on, performs in slot order every schedule that came due.
  void CheckSchedules();

  // The list dialog, from the file as it is now; on OK the table and the
  // CkbEnableAllSchedules setting take what it hands back, and the table is saved.
  void Schedule1Click();

 private:
  // The local time the clock jumped forward from since the last check, when it did.
  std::optional<double> ClockJump();
  ScheduleNow Now(std::optional<double> skipped_from);
  void WriteSchedules();
  void Perform(ScheduleItem& item, const ScheduleNow& now);
  void Connect(bool confirm);
  void Disconnect(bool confirm);
  void ShutDown(bool confirm);
  void Reconnect(bool confirm, int after_hours);
  // True unless the user answered No.
  bool Ask(const std::string& task);
  void LogTask(const std::string& task);

  MainPorts ports_;
  AppSettings& settings_;
  const CommandTable& commands_;
  DialingController& dialing_;
  ConnectionLog& log_;
  ProblemReport& problems_;
  ScheduleView& view_;
  ScheduleStore store_;
  ScheduleTable table_;
  struct Reading {
    double local;
    uint64_t monotonic_ms;
  };
  std::optional<Reading> last_check_;
};
