// Online time and its cost: pricing a span by a rate plan, and the session, today and
// since-billing counters of the connection table.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "accounting/time_records.h"
#include "profiles/account_table.h"
#include "profiles/entry_info.h"

// The cost of the span that begins at the date-time `start` and lasts `duration` days.
// Each hour of the day costs its section's rate (sections 1, 2, 3 in that order, a later
// one overriding an earlier one; only enabled sections with a rate above 0; From >= To
// runs past midnight, so From = To covers the whole day) or else GeneralRate. With
// WeekendEnabled, every moment of a Saturday or Sunday costs WeekendRate, or GeneralRate
// when that is not above 0, whatever the sections say. From and To are taken within 0..24.
// A duration that is not above 0 costs 0. A date's day is the whole part of a date-time.
// The cost does not depend on the span's length: whole days are priced in one step.
long double ComputeExpense(const RatePlan& plan, double start, double duration);

// A span of days as hours:minutes:seconds, minutes and seconds of two digits, hours of at
// least two and not wrapped at 24 (1.5 days is "36:00:00"). The seconds are rounded to
// the nearest whole second, halves to the even one. A negative span gets a leading "-".
std::string FormatDuration(double span);

// An amount with two decimals and `separator` as the decimal mark ("1234.50"), rounded half
// away from zero on its decimal value (FormatFixed): never "-0.00".
std::string FormatMoney(long double value, char separator);

// Whether the date `date` starts a billing period for `billing_day`: that day of its month,
// or the month's last day when the month is too short for it. A billing day below 1 (0, a
// plan without one) bills by the calendar month, as day 1 does.
bool IsBillingDay(double date, int billing_day);

// The midnight that began the last day up to `today` that starts a billing period for
// `billing_day` (IsBillingDay).
double BillingPeriodStart(int billing_day, double today);

// Online time in days and what it cost.
struct Spent {
  double time = 0;
  long double expense = 0;
};

// The part of the span from `from` to `to` (local date-times) that lies in the plan's free
// hours, and what that part costs by the plan.
Spent FreeHoursIn(const RatePlan& plan, double from, double to);

// Whether the local date-time `at` lies in the plan's free hours (the start minute in, the
// end minute out).
bool InFreeHours(const RatePlan& plan, double at);

// A reading of the clock port: the local date-time, which jumps when the clock is set or
// daylight saving begins or ends, the monotonic milliseconds, which never go back and
// run on through a sleep, and the local time's offset from UTC in minutes.
struct Moment {
  double local = 0;
  uint64_t monotonic_ms = 0;
  int utc_offset = 0;
};

// The session's clock and the counters of the connection that is online, whichever row is
// selected. A session runs from RecordConnectTime until its record is taken with
// SessionRecord; only then do ticks advance the session, today and billing counters.
// Lengths are real time, measured on the monotonic clock, so setting the clock or the
// autumn change of daylight saving neither shortens nor lengthens them; each tick's real
// time counts toward the local date and hours it ends on, the part before a midnight toward
// the day that ended. Today's counters of every row restart at local midnight, online or
// not, and whenever the clock is set back to an earlier date; every row's billing counters
// restart on its own billing day (IsBillingDay), unless the clock reaches that day again
// after it was set back.
class Accounting {
 public:
  // As at start: no session, nothing to write, and the table's today counters (as
  // LoadTimeRecords left them) taken as those of the day of `now`.
  void Reset(const Moment& now);

  // A connect of `entry` at `now`: ConnectTime and LastTickTime become `now`, SessionSaved
  // goes off, and the session is that entry's.
  void RecordConnectTime(const std::string& entry, const Moment& now);

  // Call once a second, online or not; `plan_of` gives each entry's rate plan (the
  // session's every call, the other rows' at a midnight only). At every midnight since the
  // last call, and at a date set back, today's counters of all rows go to 0; at every
  // midnight later than any seen before, the billing and budget counters of every row
  // whose billing day it is. While a session runs, the first counted row of its entry gets,
  // priced by that entry's plan:
  // - SessionTime = the real time since the connect and SessionExpense = the cost each call
  //   added for the session, the local clock's hours as they passed, so a change of plan
  //   applies from then on;
  // - the real time since LastTickTime and its cost added to today's counters;
  // - the same added to the billing counters, except on the plan's billing day, when they
  //   equal today's (the billing period starts afresh that day; not on a billing day the
  //   clock was set back to);
  // - the same, less what falls in the plan's free hours, added to the budget counters,
  //   which restart with the billing counters;
  // and LastTickTime becomes `now`. The rows counted are those in use and those away
  // (Counted). Without a row of the entry nothing is counted and LastTickTime stays.
  void AccountingTick(TAccountTable& table, const PlanOf& plan_of, const Moment& now);

  // The session's entry `from` was renamed `to`: the session, its record and its row go
  // by the new name, and the next CheckpointRecord call gives a record.
  void RenameSession(const std::string& from, const std::string& to);

  // A dial starts: the line's byte counts start again from 0.
  void StartTraffic();
  // The line's byte counts since the dial started, as read once a second. While a session
  // runs, what they grew by since the last reading counts toward the session and toward
  // the billing counters of its entry's first counted row, and toward its budget counters
  // unless `now` is in its free hours. A count below the last reading wrapped at 32 bits
  // when it fell by more than half of that range; else it started again from 0 (an
  // adapter that restarted, a new baseline), and all of it is new.
  void TakeTraffic(TAccountTable& table, const PlanOf& plan_of, const Moment& now,
                   uint64_t received, uint64_t sent);

  // The session's record for "TimeCount.CSV", once per session: nullopt when it was taken
  // already or there was no connect. Taking it sets SessionSaved. The record: start
  // ConnectTime's local time, duration the real time since, the SessionExpense of the first
  // counted row of the session's entry as the last tick left it (0 without such a row), and
  // that entry; for "Sessions.csv" also the end (`now`), both UTC offsets, the bytes the
  // session moved, those of them that counted toward the budget counters, and `reason`.
  std::optional<TimeRecord> SessionRecord(const TAccountTable& table, const Moment& now,
                                          const std::string& reason);

  // The running session's record as SessionRecord would give it now, for the checkpoint,
  // with "the program ended while online" as how it ended:
  // at the first call of a session and then whenever kCheckpointInterval has passed since
  // the last one it gave; nullopt when none is due or no session runs. Changes nothing else.
  std::optional<TimeRecord> CheckpointRecord(const TAccountTable& table, const Moment& now);

  static constexpr uint64_t kCheckpointIntervalMs = 30000;

  double ConnectTime() const { return connect_.local; }  // 0 before the first connect
  double LastTickTime() const { return last_tick_.local; }
  const Moment& LastTick() const { return last_tick_; }
  bool SessionSaved() const { return session_saved_; }  // on: nothing left to write
  bool Running() const { return connect_.local != 0 && !session_saved_; }

 private:
  void SetDay(double midnight);
  static void RestartToday(TAccountTable& table);
  void StartDay(TAccountTable& table, const PlanOf& plan_of, double midnight);
  void CountSpan(AccountInfo& row, const RatePlan& plan, double from, double to);
  // The first counted row of the session's entry, or -1.
  int SessionRow(const TAccountTable& table) const;
  TimeRecord Record(const TAccountTable& table, const Moment& now) const;
  // The byte count that grew from `last` to `now`, which becomes the last.
  static uint64_t Grown(uint64_t& last, uint64_t now);

  std::string entry_;
  Moment connect_;
  Moment last_tick_;
  bool session_saved_ = true;
  std::optional<uint64_t> last_checkpoint_ms_;
  uint64_t last_received_ = 0, last_sent_ = 0;  // the last reading of the line's counts
  uint64_t received_ = 0, sent_ = 0;            // the session's
  uint64_t budget_bytes_ = 0;                   // the session's that counted against the budget
  long double expense_ =
      0;  // the session's: what its ticks added, the clock's hours as they passed
  std::optional<double> day_;  // midnight that began the day today's counters belong to
  double latest_ = 0;          // the latest such midnight
};
