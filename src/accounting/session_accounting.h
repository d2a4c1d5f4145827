// Online time and its cost as the program runs: the counters advanced every second, the
// session's record when it ends, today's and the billing period's totals at start, and a
// checkpoint that keeps a running session should the program die.
#pragma once

#include <optional>
#include <string>

#include "accounting/accounting.h"
#include "ports/main_ports.h"
#include "accounting/time_records.h"
#include "accounting/usage.h"
#include "platform/problem_report.h"
#include "profiles/connection_list.h"

// How a session ends whose line went while the computer slept.
inline constexpr const char* kLostInSleep = "lost during a sleep";

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
  // The running session's entry `from` is called `to` now.
  void RenameSession(const std::string& from, const std::string& to) {
    accounting_.RenameSession(from, to);
  }
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

  // The system goes to sleep: the running session ends now, or, for a sleep the program
  // only learns of from a gap in its ticks, at the last tick before it. Its record, "the
  // computer went to sleep", goes to the checkpoint at once and is held until the wake
  // says how the line fared: SaveSessionRecord writes it with its own reason, or
  // ResumeSession as it is. Time asleep never counts.
  // A held record keeps its reason unless SaveSessionRecord is given kLostInSleep.
  // Returns the monotonic time it ended at (now when none runs).
  uint64_t EndSessionForSleep(bool at_last_tick);
  bool SleepRecordHeld() const { return held_.has_value(); }
  // The system woke now.
  void MarkWake();
  // The line outlived the sleep: the held record is written, and a new session of `entry`
  // begins at the wake.
  void ResumeSession(const std::string& entry);
  // Whether a session runs whose last tick lies more than kTickGapMs back: the program
  // slept without hearing of it.
  bool TickGap();

  static constexpr uint64_t kTickGapMs = 30000;
  // Tests whose fake time ticks less often than once a second raise the gap.
  void SetTickGapMs(uint64_t ms) { tick_gap_ms_ = ms; }

 private:
  void CountUntil(const Moment& now);
  // Writes the record to both files, its final figures in the checkpoint first, so that a
  // run killed between the two appends recovers the same figures into the other file.
  void Write(TimeRecord record);
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
  std::optional<TimeRecord> held_;  // the session a sleep ended, until the wake
  Moment wake_;
  uint64_t tick_gap_ms_ = kTickGapMs;
};
