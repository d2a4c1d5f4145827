// Online time and its cost as the program runs: the counters advanced every second, the
// session's record when it ends, today's and the billing period's totals at start, and a
// checkpoint that keeps a running session should the program die.
#pragma once

#include <string>

#include "accounting/accounting.h"
#include "ports/main_ports.h"
#include "accounting/time_records.h"
#include "accounting/usage.h"
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
  // A dial starts: the line's byte counts start again from 0.
  void StartTraffic();
  // The line's byte counts since the dial started, read once a second.
  void TakeTraffic(uint64_t received, uint64_t sent);
  // The session ended (how, in the words of the Detailed log, and the error RAS gave for
  // it, 0 for none): the counters count it to this moment, and its lines are appended to
  // "TimeCount.CSV" and "Sessions.csv", once per session.
  void SaveSessionRecord(const std::string& reason, uint32_t ras_code = 0);
  // Where the sessions are recorded, for the Usage window.
  UsageFiles RecordFiles() { return {records_.SessionsPath(), records_.Path()}; }
  // The session ends without a record (exit with logs off): nothing is left to recover.
  void DiscardSession();

 private:
  void CountUntil(const Moment& now);
  Moment Now() {
    return {ports_.clock.LocalNow(), ports_.clock.MonotonicMs(), ports_.clock.UtcOffsetMinutes()};
  }

  MainPorts ports_;
  ConnectionList& connections_;
  ProblemReport& problems_;
  const PlanOf plan_of_;
  Accounting accounting_;
  TimeRecords records_;
  static constexpr uint64_t kUnreadRetryMs = 60000;
  uint64_t last_unread_try_ms_ = 0;
};
