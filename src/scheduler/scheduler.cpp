// The schedules at run time.
#include "scheduler/scheduler.h"

namespace {

// A local clock that runs ahead of the real time by more than this jumped.
constexpr double kJumpSlack = 1.0 / (24 * 60);
constexpr double kMsPerDay = 86400000.0;
// Only between checks this close together is it known where the jump lies: at the end of
// a longer gap (a sleep) the skipped times would be guessed, and the gap slept through
// them anyway.
constexpr uint64_t kJumpGapMs = 10 * 60000;

// The tasks as the question and the log name them.
constexpr const char* kConnectTask = "Connect";
constexpr const char* kDisconnectTask = "Disconnect";
constexpr const char* kShutDownTask = "Shun down PC";
constexpr const char* kReconnectTask = "Reconnect";

}  // namespace

Scheduler::Scheduler(const MainPorts& ports, AppSettings& settings, const CommandTable& commands,
                     DialingController& dialing, ConnectionLog& log, ProblemReport& problems,
                     ScheduleView& view)
    : ports_(ports),
      settings_(settings),
      commands_(commands),
      dialing_(dialing),
      log_(log),
      problems_(problems),
      view_(view),
      store_(ports.profiles, ports.files, ports.locale) {}

void Scheduler::ClearSchedules() {
  ::ClearSchedules(table_);
}

void Scheduler::LoadSchedules() {
  ScheduleTable loaded = table_;
  problems_.Say(store_.LoadSchedules(loaded));
  KeepRunState(loaded, table_);
  table_ = loaded;
}

void Scheduler::SaveSchedules() {
  if (!store_.Unread())
    WriteSchedules();
}

void Scheduler::WriteSchedules() {
  std::string error;
  if (!store_.SaveSchedules(table_, error))
    ports_.prompts.Error(error);
}

void Scheduler::CheckSchedules() {
  // Read even when schedules are off, so that turning them on later is no jump.
  const std::optional<double> skipped_from = ClockJump();
  if (!settings_.CkbEnableAllSchedules)
    return;
  for (int slot = 0; slot < kScheduleSlots && table_[slot].InUse; ++slot) {
    ScheduleItem& item = table_[slot];
    const ScheduleNow now = Now(skipped_from);
    StartLoop(item, now);
    if (IsDue(item, now))
      Perform(item, now);
  }
}

// The real time is the monotonic clock's, which runs on through a sleep; only a change of
// the clock itself moves the local time further.
std::optional<double> Scheduler::ClockJump() {
  const Reading now{ports_.clock.LocalNow(), ports_.clock.MonotonicMs()};
  std::optional<double> from;
  if (last_check_ && now.monotonic_ms >= last_check_->monotonic_ms &&
      now.monotonic_ms - last_check_->monotonic_ms <= kJumpGapMs) {
    const double expected =
        last_check_->local + (now.monotonic_ms - last_check_->monotonic_ms) / kMsPerDay;
    if (now.local - expected > kJumpSlack)
      from = expected;
  }
  last_check_ = now;
  return from;
}

ScheduleNow Scheduler::Now(std::optional<double> skipped_from) {
  return {ports_.clock.LocalNow(), ports_.clock.MonotonicMs(), skipped_from};
}

void Scheduler::Perform(ScheduleItem& item, const ScheduleNow& now) {
  MarkPerformed(item, now);
  switch (item.EventType) {
    case kConnect:
      return Connect(item.Confirm);
    case kDisconnect:
      return Disconnect(item.Confirm);
    case kShutDown:
      return ShutDown(item.Confirm);
    case kReconnect:
      return Reconnect(item.Confirm, item.ReconnectAfterHours);
  }
}

// Online, there is nothing to connect and nothing to ask; the line can come up while the
// question waits, so that is looked at again after it.
void Scheduler::Connect(bool confirm) {
  if (confirm && !dialing_.Online() && !Ask(kConnectTask))
    return;
  if (dialing_.Online())
    return;
  LogTask(kConnectTask);
  dialing_.RunAsProgram([this] { commands_.Run(Command::Dial); });
}

void Scheduler::Disconnect(bool confirm) {
  if (confirm && !Ask(kDisconnectTask))
    return;
  if (!dialing_.Online())
    return;
  LogTask(kDisconnectTask);
  dialing_.RunAsProgram([this] { commands_.Run(Command::HangUp); });
}

void Scheduler::ShutDown(bool confirm) {
  if (confirm && !Ask(kShutDownTask))
    return;
  LogTask(kShutDownTask);
  std::string reason;
  if (!ports_.system.ShutDown(reason))
    log_.WriteDialLog("Unable to shut down: " + reason, LogKind::Error);
}

// Whether the line is up, old enough and within its budget is the dialing controller's to
// judge: before the question, and again after it, as the line may change while it waits.
void Scheduler::Reconnect(bool confirm, int after_hours) {
  const auto skipped = [&] {
    const auto why = dialing_.ReconnectSkipped(after_hours);
    if (why)
      log_.WriteDialLog("Reconnect skipped: " + *why + ".", LogKind::Message);
    return why.has_value();
  };
  if (skipped() || (confirm && (!Ask(kReconnectTask) || skipped())))
    return;
  LogTask(kReconnectTask);
  dialing_.ReconnectLine();
}

bool Scheduler::Ask(const std::string& task) {
  return ports_.prompts.AskYesNo("Confirm", "Perform schedule task:\"" + task + "\",Continue?");
}

void Scheduler::LogTask(const std::string& task) {
  log_.WriteDialLog("Perform schedule task:\"" + task + "\"", LogKind::Message);
}

void Scheduler::Schedule1Click() {
  const bool enable_all = settings_.CkbEnableAllSchedules;
  LoadSchedules();
  const auto result =
      view_.ShowScheduleList(ScheduleListModel(table_, enable_all, ports_.locale, ports_.clock));
  if (!result)
    return;
  settings_.CkbEnableAllSchedules = result->EnableAllSchedules;
  ScheduleTable table = result->Table;
  for (int slot = 0; slot < ScheduleCount(table); ++slot) {
    if (const int from = result->Source[slot]; from >= 0)
      TakeRunState(table[slot], table_[from]);
  }
  table_ = table;
  if (!store_.Unread() ||
      ports_.prompts.AskYesNo("Confirm", store_.Path() + " could not be read. Replace it with the "
                                                         "schedules of this list?"))
    WriteSchedules();
}
