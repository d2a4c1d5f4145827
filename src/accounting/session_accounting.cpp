// Online time and its cost as the program runs.
#include "accounting/session_accounting.h"

#include <utility>

SessionAccounting::SessionAccounting(const MainPorts& ports, ConnectionList& connections,
                                     ProblemReport& problems)
    : ports_(ports),
      connections_(connections),
      problems_(problems),
      plan_of_([this](const std::string& entry) { return connections_.PlanOf(entry); }),
      records_(ports.files, ports.locale) {}

void SessionAccounting::Reset() {
  accounting_.Reset(Now());
}

void SessionAccounting::LoadTimeRecords() {
  problems_.Say(records_.LoadTimeRecords(connections_.Table(), plan_of_, Now().local));
}

void SessionAccounting::RecordConnectTime(const std::string& entry) {
  accounting_.RecordConnectTime(entry, Now());
}

void SessionAccounting::CountUntil(const Moment& now) {
  accounting_.AccountingTick(connections_.Table(), plan_of_, now);
}

void SessionAccounting::AccountingTick() {
  const Moment now = Now();
  CountUntil(now);
  // A file another program held at start is tried again each minute.
  if (now.monotonic_ms - last_unread_try_ms_ >= kUnreadRetryMs) {
    last_unread_try_ms_ = now.monotonic_ms;
    records_.AddUnread(connections_.Table(), plan_of_, now.local);
  }
  const auto checkpoint = accounting_.CheckpointRecord(connections_.Table(), now);
  std::string error;
  if (checkpoint && !records_.WriteCheckpoint(*checkpoint, error))
    problems_.Say(
        {"The running session cannot be kept in " + records_.CheckpointPath() + ": " + error});
}

void SessionAccounting::StartTraffic() {
  accounting_.StartTraffic();
}

void SessionAccounting::TakeTraffic(uint64_t received, uint64_t sent) {
  accounting_.TakeTraffic(connections_.Table(), plan_of_, Now(), received, sent);
}

void SessionAccounting::SaveSessionRecord(const std::string& reason, uint32_t ras_code) {
  if (held_) {
    TimeRecord record = *std::exchange(held_, std::nullopt);
    if (reason == kLostInSleep) {
      record.reason = reason;
      record.ras_code = ras_code;
    }
    Write(record);
    return;
  }
  // The counters take the session to its end, as its record does.
  const Moment now = Now();
  CountUntil(now);
  std::optional<TimeRecord> record = accounting_.SessionRecord(connections_.Table(), now, reason);
  if (!record)
    return;
  record->ras_code = ras_code;
  Write(*record);
}

void SessionAccounting::Write(TimeRecord record) {
  std::string error;
  records_.WriteCheckpoint(record, error);
  // Said for every session it happens to, not once per run as problems are: each one is
  // news to the user.
  if (!records_.SaveSessionRecord(record, error))
    ports_.prompts.Error(
        "The session of " + record.entry + " begun " + ports_.locale.ShortDate(record.start) + " " +
        ports_.locale.LongTime(record.start) + " could not be recorded in full: " + error +
        "\nIt is kept in " + records_.CheckpointPath() + " and added at the next write.");
}

uint64_t SessionAccounting::EndSessionForSleep(bool at_last_tick) {
  if (!accounting_.Running())
    return Now().monotonic_ms;
  const Moment end = at_last_tick ? accounting_.LastTick() : Now();
  if (!at_last_tick)
    CountUntil(end);
  held_ = accounting_.SessionRecord(connections_.Table(), end, "the computer went to sleep");
  std::string error;
  if (held_ && !records_.WriteCheckpoint(*held_, error))
    problems_.Say(
        {"The running session cannot be kept in " + records_.CheckpointPath() + ": " + error});
  return end.monotonic_ms;
}

void SessionAccounting::MarkWake() {
  wake_ = Now();
}

void SessionAccounting::ResumeSession(const std::string& entry) {
  if (held_)
    Write(*std::exchange(held_, std::nullopt));
  accounting_.RecordConnectTime(entry, wake_);
}

bool SessionAccounting::TickGap() {
  return accounting_.Running() &&
         Now().monotonic_ms - accounting_.LastTick().monotonic_ms > tick_gap_ms_;
}
