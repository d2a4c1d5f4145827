// The schedules at run time.
#include "scheduler/scheduler.h"

#include "schedule/due_rules.h"

namespace {

// The tasks as the question and the log name them.
constexpr const char* kConnectTask = "Connect";
constexpr const char* kDisconnectTask = "Disconnect";
constexpr const char* kShutDownTask = "Shun down PC";

}  // namespace

Scheduler::Scheduler(const MainPorts& ports, AppSettings& settings, const CommandTable& commands,
                     const DialingController& dialing, ConnectionLog& log, ProblemReport& problems,
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
  problems_.Say(store_.LoadSchedules(table_, ports_.clock.LocalNow()));
}

void Scheduler::SaveSchedules() {
  std::string error;
  if (!store_.SaveSchedules(table_, error))
    ports_.prompts.Error(error);
}

void Scheduler::CheckSchedules() {
  if (!settings_.CkbEnableAllSchedules)
    return;
  for (int slot = 0; slot < kScheduleSlots && table_[slot].InUse; ++slot) {
    ScheduleItem& item = table_[slot];
    const double now = ports_.clock.LocalNow();
    if (item.Period == kHourly && RearmsHourly(now))
      item.Performed = false;
    if (IsDue(item, now))
      Perform(item, now);
  }
}

void Scheduler::Perform(ScheduleItem& item, double now) {
  item.LastPerformed = now;
  item.Performed = true;
  switch (item.EventType) {
    case kConnect:
      return Connect(item.Confirm);
    case kDisconnect:
      return Disconnect(item.Confirm);
    case kShutDown:
      return ShutDown(item.Confirm);
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
  commands_.Run(Command::Dial);
}

void Scheduler::Disconnect(bool confirm) {
  if (confirm && !Ask(kDisconnectTask))
    return;
  if (!dialing_.Online())
    return;
  LogTask(kDisconnectTask);
  commands_.Run(Command::HangUp);
}

void Scheduler::ShutDown(bool confirm) {
  if (confirm && !Ask(kShutDownTask))
    return;
  LogTask(kShutDownTask);
  std::string reason;
  if (!ports_.system.ShutDown(reason))
    log_.WriteDialLog("Unable to shut down: " + reason, LogKind::Error);
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
  table_ = result->Table;
  SaveSchedules();
}
