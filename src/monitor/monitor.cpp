// The one-second heartbeat.
#include "monitor/monitor.h"

#include <array>
#include <cstdlib>
#include <string_view>

#include "dialup/ras_api.h"

namespace {

// TARVOLIN_NO_TICK=1 leaves the tick off, so that tests can see a drop reach the program
// through RAS's disconnection notification alone.
bool TickSwitchedOff() {
  const char* value = std::getenv("TARVOLIN_NO_TICK");
  return value && std::string_view(value) == "1";
}

}  // namespace

Monitor::Monitor(UiLoop& ui, TDialUp& dialup, DialingController& dialing,
                 ConnectionList& connections, SessionAccounting& session, Readouts& readouts,
                 TransferRing& ring, HistogramView& histogram, const AppSettings& settings,
                 KeepAlive& keep_alive, Tray& tray, ProblemReport& problems, Scheduler& scheduler,
                 const CommandTable& commands)
    : dialup_(dialup),
      dialing_(dialing),
      connections_(connections),
      session_(session),
      readouts_(readouts),
      ring_(ring),
      histogram_(histogram),
      settings_(settings),
      keep_alive_(keep_alive),
      tray_(tray),
      problems_(problems),
      scheduler_(scheduler),
      commands_(commands),
      check_timer_(ui.CreateTimer()) {
  check_timer_->SetInterval(1000);
  check_timer_->OnTimer = [this] { CheckTimerTimer(); };
  check_timer_->SetEnabled(!TickSwitchedOff());
}

Monitor::~Monitor() = default;

void Monitor::CheckTimerTimer() {
  try {
    MonitorTick();
  } catch (const ERasError& e) {
    problems_.Say({e.what()});
  }
}

void Monitor::MonitorTick() {
  using Step = void (Monitor::*)();
  static constexpr std::array<Step, 11> kSteps = {
      &Monitor::DetectDisconnect, &Monitor::AccountingTick,   &Monitor::CheckBudget,
      &Monitor::ShowView,         &Monitor::TakeSample,       &Monitor::CheckMinimumSpeed,
      &Monitor::DrawHistogram,    &Monitor::CheckSchedules,   &Monitor::KeepAlivePing,
      &Monitor::UpdateTrayHint,   &Monitor::WatchConnections,
  };
  for (Step step : kSteps)
    (this->*step)();
}

void Monitor::DetectDisconnect() {
  dialing_.DetectDisconnect();
}

// Today's counters restart at midnight also while offline, so the tick goes there always.
void Monitor::AccountingTick() {
  session_.AccountingTick();
}

void Monitor::CheckBudget() {
  dialing_.CheckBudget();
}

void Monitor::ShowView() {
  readouts_.ShowView(settings_.ViewMode, dialing_.Online());
}

void Monitor::TakeSample() {
  statistics_read_ = dialup_.GetStatistics();
  ring_.TakeSample(statistics_read_, dialup_.BytesRecv(), dialup_.BytesXmit());
  if (statistics_read_)
    session_.TakeTraffic(dialup_.BytesRecv(), dialup_.BytesXmit());
}

// The speed the sample just read; a failed read decides nothing.
void Monitor::CheckMinimumSpeed() {
  if (statistics_read_)
    dialing_.CheckSpeedAfterConnect();
}

void Monitor::DrawHistogram() {
  histogram_.ShowHistogram(BarHeights(ring_, settings_.HisRecvMax));
}

void Monitor::KeepAlivePing() {
  if (keep_alive_.KeepAlivePing(dialing_.Online()))
    dialing_.HangUpDeadLine(settings_.UdDeadLineEchoes);
}

void Monitor::UpdateTrayHint() {
  tray_.UpdateTrayHint(dialup_.Entry, dialing_.Online());
}

void Monitor::CheckSchedules() {
  scheduler_.CheckSchedules();
}

// A dialog of the program works on the entries as they were when it opened; a rebuild
// under it would move the selection to another entry.
void Monitor::WatchConnections() {
  connections_.Watch(commands_.Running());
}

// Duties that join the tick at their place as their features arrive.
