// The one-second heartbeat: every periodic duty of the program, in a fixed order.
#pragma once

#include <memory>

#include "dialing/dialing_controller.h"
#include "monitor/keep_alive.h"
#include "accounting/session_accounting.h"
#include "commands/commands.h"
#include "platform/problem_report.h"
#include "platform/ui_loop.h"
#include "profiles/connection_list.h"
#include "scheduler/scheduler.h"
#include "display/histogram.h"
#include "display/readouts.h"
#include "display/tray.h"

// CheckTimer runs from the monitor's creation until the program ends, online or
// offline. A tick never lets an exception out: without RAS every tick would fail the
// same way, so the failure is said once and the next tick tries again.
class Monitor {
 public:
  Monitor(UiLoop& ui, TDialUp& dialup, DialingController& dialing, ConnectionList& connections,
          SessionAccounting& session, Readouts& readouts, TransferRing& ring,
          HistogramView& histogram, const AppSettings& settings, KeepAlive& keep_alive, Tray& tray,
          ProblemReport& problems, Scheduler& scheduler, const CommandTable& commands);
  ~Monitor();

  // CheckTimer's tick.
  void CheckTimerTimer();

 private:
  void MonitorTick();
  // The tick's steps, in order.
  void DetectDisconnect();
  void AccountingTick();
  void CheckBudget();
  void ShowView();
  void TakeSample();
  void CheckMinimumSpeed();
  void DrawHistogram();
  void CheckSchedules();
  void KeepAlivePing();
  void UpdateTrayHint();
  void WatchConnections();

  TDialUp& dialup_;
  DialingController& dialing_;
  ConnectionList& connections_;
  SessionAccounting& session_;
  Readouts& readouts_;
  TransferRing& ring_;
  HistogramView& histogram_;
  const AppSettings& settings_;
  KeepAlive& keep_alive_;
  Tray& tray_;
  ProblemReport& problems_;
  Scheduler& scheduler_;
  const CommandTable& commands_;
  std::unique_ptr<UiTimer> check_timer_;
  bool statistics_read_ = false;  // by this tick's sample
};
