// Online time and its cost as the program runs: the counters advanced every second, the
// session's record when it ends, today's and the billing period's totals at start, and a
// checkpoint that keeps a running session should the program die.
#pragma once

#include <string>

#include "accounting/accounting.h"
#include "ports/main_ports.h"
#include "accounting/time_records.h"
#include "platform/problem_report.h"
#include "profiles/connection_list.h"

// The counters are those of the connection list's rows; the online connection's row counts
// the session by that connection's plan, whichever row is selected. File failures are said
// through `problems` and never stop the program.
class SessionAccounting {
 public:
  SessionAccounting(const MainPorts& ports, ConnectionList& connections, ProblemReport& problems);

  // As at start: no session, today's counters belong to today.
  void Reset();
  // Start-up, after the table is built: a session left by a run that died is recorded,
  // then "TimeCount.CSV" gives today's and the billing period's totals.
  void LoadTimeRecords();
  // The line of `entry` is up now.
  void RecordConnectTime(const std::string& entry);
  // Once a second, online or not. While a session runs its entry's counters grow and the
  // checkpoint is renewed every half minute; a "TimeCount.CSV" that could not be read at
  // start is tried again every minute until its sessions are counted.
  void AccountingTick();
  // The session ended: the counters count it to this moment, and its line is appended to
  // "TimeCount.CSV", once per session.
  void SaveSessionRecord();
  // The session ends without a record (exit with logs off): nothing is left to recover.
  void DiscardSession();

 private:
  void CountUntil(const Moment& now);
  Moment Now() { return {ports_.clock.LocalNow(), ports_.clock.MonotonicMs()}; }

  MainPorts ports_;
  ConnectionList& connections_;
  ProblemReport& problems_;
  const PlanOf plan_of_;
  Accounting accounting_;
  TimeRecords records_;
  static constexpr uint64_t kUnreadRetryMs = 60000;
  uint64_t last_unread_try_ms_ = 0;
};
