// The dialing controller: dial, redial, keep connection, hang up and the event sounds.
#include "dialing/dialing_controller.h"

#include <algorithm>
#include <utility>

#include "accounting/accounting.h"
#include "profiles/profile_store.h"
#include "settings/options_model.h"

namespace {

constexpr uint32_t kOnlineColor = 0x33AA33;  // RGB(51,170,51)
constexpr uint32_t kOfflineColor = 0x000000;
constexpr const char* kAutoDialArgument = "AutoDial";
// Slow connects in a row after which the line is kept as it is.
constexpr int kSlowConnectsKept = 3;
// Account refusals in a row after which CkbStopOnRefusal stops: accounts are often locked
// after a few wrong passwords.
constexpr int kRefusalsStop = 2;
// With CkbLongerWait the pause grows up to this many redial delays.
constexpr unsigned kLongestWaitFactor = 10;
constexpr double kMsPerDay = 86400000.0;
constexpr uint64_t kMsPerHour = 3600000;

// The system's answers that refuse the account.
bool IsRefusal(int error) {
  constexpr uint32_t kCodes[] = {kRasRestrictedLogonHours, kRasAccountDisabled, kRasPasswordExpired,
                                 kRasNoDialinPermission, kRasAuthenticationFailure};
  return std::find(std::begin(kCodes), std::end(kCodes), static_cast<uint32_t>(error)) !=
         std::end(kCodes);
}

std::string Attempts(int count) {
  return std::to_string(count) + (count == 1 ? " failed attempt" : " failed attempts");
}

std::string Hours(int count) {
  return std::to_string(count) + (count == 1 ? " hour" : " hours");
}

}  // namespace

DialingController::DialingController(const MainPorts& ports, TDialUp& dialup, AppSettings& settings,
                                     ConnectionList& connections, ConnectionLog& log,
                                     SessionAccounting& session, TransferRing& ring,
                                     LineEvents& events, Actions& actions, VersionCheck& versions,
                                     DialingView& view)
    : ports_(ports),
      dialup_(dialup),
      settings_(settings),
      connections_(connections),
      log_(log),
      session_(session),
      ring_(ring),
      events_(events),
      actions_(actions),
      versions_(versions),
      view_(view),
      wait_time_timer_(ports.ui.CreateTimer()),
      redial_timer_(ports.ui.CreateTimer()),
      patient_retry_timer_(ports.ui.CreateTimer()),
      line_ended_(ports.ui.CreateSignal()),
      budget_(ports, connections, log, events) {
  wait_time_timer_->SetInterval(80000);
  wait_time_timer_->OnTimer = [this] { WaitTimeTimerTimer(); };
  redial_timer_->SetInterval(3000);
  redial_timer_->OnTimer = [this] { RedialTimerTimer(); };
  patient_retry_timer_->OnTimer = [this] { PatientRetryTimerTimer(); };
  // A late setting for a line already handled finds the line in hand still known, or
  // the program offline: both do nothing, so a drop is never acted on twice. Exit hangs
  // up while online and tears the window down: that line's end is no drop to act on.
  line_ended_->OnSignal = [this] {
    if (!user_hung_up_)
      DetectDisconnect();
  };
}

DialingController::~DialingController() = default;

void DialingController::Reset() {
  online_ = dialing_ = was_connected_ = false;
  user_hung_up_ = true;
  last_dialed_entry_.clear();
  SetOnlineState(false);
}

void DialingController::Dial1Click() {
  connections_.UseSelectedEntry();
  DialCurrentEntry();
}

void DialingController::DialRequest() {
  if (!online_ && !dialing_)
    RunAsProgram([this] { Dial1Click(); });
}

void DialingController::RunAsProgram(const std::function<void()>& command) {
  struct Scope {
    int& count;
    explicit Scope(int& c) : count(c) { ++count; }
    ~Scope() { --count; }
  } scope(program_commands_);
  command();
}

void DialingController::ConnectOnStartup(const std::vector<std::string>& args) {
  for (const auto& arg : args) {
    if (arg != kAutoDialArgument)
      continue;
    if (!online_ && !dialing_) {
      RunAsProgram([this] { Dial1Click(); });
      return;
    }
    break;
  }
  if (!settings_.CkbConnectOnStartup)
    return;
  // The default connection is dialed even when another row is selected.
  if (const auto entry = connections_.StartupEntry(settings_.RgConnectOnStartup)) {
    dialup_.Entry = *entry;
    RunAsProgram([this] { DialCurrentEntry(); });
  }
}

std::string DialingController::UpFor() const {
  const uint64_t up_ms = ports_.clock.MonotonicMs() - connected_ms_;
  return "the line has been up for " + FormatDuration(up_ms / kMsPerDay);
}

std::optional<std::string> DialingController::ReconnectSkipped(int after_hours) {
  if (dialing_)
    return "a dial is under way";
  if (!online_)
    return "not online";
  if (ports_.clock.MonotonicMs() - connected_ms_ < static_cast<uint64_t>(after_hours) * kMsPerHour)
    return UpFor() + ", less than " + Hours(after_hours);
  if (budget_.Exhausted(last_dialed_entry_))
    return "the budget of " + last_dialed_entry_ + " is used up";
  return std::nullopt;
}

void DialingController::ReconnectLine() {
  log_.WriteDialLog(
      "Reconnect: " + UpFor() + "; it is hung up and " + last_dialed_entry_ + " dialed again.",
      LogKind::Message);
  dialup_.Entry = last_dialed_entry_;
  RunAsProgram([this] { DialCurrentEntry("hung up by a schedule to reconnect"); });
}

void DialingController::DialCurrentEntry(const std::string& reason_if_online) {
  if (!budget_.MayDial(dialup_.Entry, ByUser() ? DialBy::User : DialBy::Program))
    return;
  if (ByUser())
    slow_connects_ = 0;
  failures_ = refusals_ = 0;
  next_numbers_.clear();
  dropped_.clear();  // what comes up now is a new dial, not the line back
  StopPatientRetry("a new dial started");
  user_hung_up_ = false;
  redial_timer_->SetInterval(settings_.UdRedialAfter * 1000);
  actions_.PerformActions(PerformAt::BeforeDialing);
  StartDial(reason_if_online);
}

void DialingController::StartDial(const std::string& reason_if_online) {
  if (user_hung_up_ || dialing_)
    return;
  // The component hangs the line up to dial: its session ends here, recorded under the
  // entry that was up, or the next connect would start a new one over it unrecorded.
  if (online_) {
    down_reason_ = reason_if_online;
    asked_down_ = true;
    SetOnlineState(false);
  }
  dialing_ = true;
  was_connected_ = false;
  wait_time_timer_->SetInterval(settings_.UdWaitTime * 1000);
  wait_time_timer_->SetEnabled(false);
  wait_time_timer_->SetEnabled(true);
  last_dialed_entry_ = dialup_.Entry;
  connections_.LoadLineProfile();
  if (const auto next = next_numbers_.find(last_dialed_entry_); next != next_numbers_.end())
    dialup_.PhoneNumber = next->second;
  view_.SetOnlineLabel("Dialing", online_ ? kOnlineColor : kOfflineColor);
  dialup_.Dial();
  // The new baseline is taken once the dial is under way: no byte moves before the line
  // is up, and reading the system's performance data can take tens of milliseconds that
  // would otherwise delay every redial.
  dialup_.StartStatistics(true, true);
  ring_.ResetLast();
  session_.StartTraffic();
}

void DialingController::DialUpDialing() {
  log_.WriteDialLog("Connecting to " + dialup_.Entry + "...", LogKind::Message);
  ports_.ui.ProcessMessages();  // paint the status line before RAS is called
}

void DialingController::DialUpConnect() {
  log_.WriteDialLog("Connected", LogKind::Message);
}

void DialingController::DialUpNotConnected(int, const std::string&) {
  log_.WriteDialLog("Not Connected", LogKind::Message);
}

void DialingController::DialUpAsyncEvent(int state, int error, const std::string& text) {
  if (error == 0 && state == kRasConnected) {
    dialing_ = false;
    // The wait for an answer is over: a line that drops before it would end must not be
    // taken for a vanished attempt and redialed without keep-connection; nor may a redial
    // still pending from an earlier failure dial it again.
    wait_time_timer_->SetEnabled(false);
    redial_timer_->SetEnabled(false);
    // Asked first, as a line may drop within what HandleConnected runs; one that is
    // already gone is left to the monitor.
    dialup_.NotifyOnDisconnection(line_ended_->Handle());
    dialup_.GetIPAddresses(dialup_.ConnectionHandle());
    HandleConnected();
    log_.WriteDialLog("Connected to server: " + dialup_.ServerIP(), LogKind::Message);
  } else if (error == 0) {
    log_.WriteDialLog(text, LogKind::Message);
  } else if (error == static_cast<int>(kRasUserDisconnection)) {
    actions_.PerformActions(PerformAt::WhenErrorOccurs);
    log_.WriteDialLog(text, LogKind::Error);
    // RAS says this last word of an attempt hung up during its dial when it gets to it,
    // which may be after the next dial began (Hang Up, then Dial): while RAS still knows
    // the line in hand, the word is not about it. Taken for it, the redial would hang up
    // every dial slower than the redial delay, for ever.
    if (!dialup_.ConnectionGone())
      return;
    dialing_ = false;
    redial_timer_->SetEnabled(true);
  } else {
    log_.WriteDialLog("Error:" + std::to_string(error) + " " + text, LogKind::Error);
    HangUpLine();
    dialing_ = false;
    LogNoSession("error " + std::to_string(error) + " " + text);
    AfterFailure(error);
    PlayEventSound(EventSound::Error);
  }
}

void DialingController::DialUpError(int code, const std::string& message) {
  log_.WriteDialLog("Error:" + std::to_string(code) + " " + message, LogKind::Error);
  // Nothing was started: the next Dial must work, and no redial follows a refusal; the
  // patient retry tries again at its time.
  dialing_ = false;
  wait_time_timer_->SetEnabled(false);
  if (patient_)
    patient_retry_timer_->SetEnabled(true);
}

void DialingController::HandleConnected() {
  EndSettle();  // a line that came up since the wake is no line that slept
  actions_.PerformActions(PerformAt::AfterConnected);
  budget_.Connected(last_dialed_entry_);
  session_.RecordConnectTime(last_dialed_entry_);
  was_connected_ = true;
  failures_ = refusals_ = 0;
  StopPatientRetry(last_dialed_entry_ + " is connected");
  if (!dropped_.empty())
    Tell(last_dialed_entry_ + " is back online; the line had gone down: " +
         std::exchange(dropped_, std::string()) + ".");
  down_reason_.clear();
  connected_ms_ = ports_.clock.MonotonicMs();
  speed_check_due_ = slow_connects_ < kSlowConnectsKept;
  SetOnlineState(true);
  CopyIPToClipboard();
  if (settings_.CkbMinToTray)
    events_.MinimizeToTray();
  PlayEventSound(EventSound::Connect);
  versions_.AutoCheckVersion();
}

// A line this program is hanging up is not dropped: its end is in hand already.
// A gap in the ticks is a sleep the system did not tell of: the session ends at the tick
// before it, and the line is looked at now, the wake.
void DialingController::DetectDisconnect() {
  if (!asleep_ && session_.TickGap()) {
    asleep_ = true;
    asleep_ms_ = session_.EndSessionForSleep(true);
    session_.MarkWake();
    look_after_sleep_ = true;
  }
  if (look_after_sleep_) {
    LookAfterSleep();
  } else if (online_ && !hanging_up_ && dialup_.ConnectionGone()) {
    HandleDisconnected();
    EndSettle();
  } else if (settle_until_ms_ != 0 && ports_.clock.MonotonicMs() >= settle_until_ms_) {
    EndSettle();
  }
}

bool DialingController::LineTooSlow() const {
  const uint32_t speed = dialup_.ConnectionSpeed();
  return speed != 0 && speed < MinimumSpeedThreshold(settings_.CbMinSpeed);
}

void DialingController::CheckMinimumSpeed() {
  if (!settings_.CkbMinSpeed || !online_ || !LineTooSlow())
    return;
  wait_time_timer_->SetEnabled(false);
  down_reason_ = "hung up for the speed check";
  HangUpLine();
}

// Testing every second would hang up and redial a line that always links slowly for ever.
void DialingController::CheckSpeedAfterConnect() {
  if (!speed_check_due_ || !online_ || !settings_.CkbMinSpeed || dialup_.ConnectionSpeed() == 0)
    return;
  speed_check_due_ = false;
  if (!LineTooSlow()) {
    slow_connects_ = 0;
    return;
  }
  if (++slow_connects_ < kSlowConnectsKept) {
    CheckMinimumSpeed();
    return;
  }
  log_.WriteDialLog("The line linked at " + std::to_string(dialup_.ConnectionSpeed()) +
                        " bps, below " +
                        std::to_string(MinimumSpeedThreshold(settings_.CbMinSpeed)) +
                        " bps, three times in a row: it is kept.",
                    LogKind::Message);
}

void DialingController::ApplyTimerIntervals() {
  wait_time_timer_->SetInterval(settings_.UdWaitTime * 1000);
  redial_timer_->SetInterval(settings_.UdRedialAfter * 1000);
}

void DialingController::HangUpDeadLine(int echoes) {
  if (!online_)
    return;
  log_.WriteDialLog("No answer to " + std::to_string(echoes) +
                        (echoes == 1 ? " keep-alive echo" : " keep-alive echoes") +
                        " and no data received",
                    LogKind::Error);
  down_reason_ = "no answer to the keep-alive";
  HangUpLine();
}

void DialingController::Suspending() {
  if (asleep_)
    return;
  asleep_ = true;
  asleep_ms_ = session_.EndSessionForSleep(false);
}

// CkbResumeCheck looks at the line at once; without it the next tick does.
void DialingController::Resumed() {
  if (!asleep_)
    return;
  session_.MarkWake();
  look_after_sleep_ = true;
  settle_until_ms_ = 0;
  if (settings_.CkbResumeCheck)
    LookAfterSleep();
}

// RAS may take a while to notice a modem that went in the sleep: with CkbResumeCheck a
// line still listed is looked at each second of the settle time before it counts as up.
void DialingController::LookAfterSleep() {
  look_after_sleep_ = false;
  if (online_ && !hanging_up_ && dialup_.ConnectionGone()) {
    down_reason_ = kLostInSleep;
    HandleDisconnected();
  } else if (online_ && settings_.CkbResumeCheck) {
    settle_until_ms_ = ports_.clock.MonotonicMs() + settings_.UdResumeSettle * 1000ull;
    return;
  }
  EndSettle();
}

// The sleep is over: the line that slept, when it is still up, begins a new session at the
// wake.
void DialingController::EndSettle() {
  const bool was_asleep = std::exchange(asleep_, false);
  settle_until_ms_ = 0;
  if (!was_asleep || !online_)
    return;
  log_.WriteDialLog("Awake again: the line is still up, and a new session begins.",
                    LogKind::Message);
  session_.ResumeSession(last_dialed_entry_);
  connected_ms_ = ports_.clock.MonotonicMs();
}

// With CkbResumeCheck, a drop around a sleep is redialed once the modem had time to come
// back.
void DialingController::HandleDisconnected() {
  SetOnlineState(false);
  if (was_connected_ && settings_.CkbKeepConnection) {
    was_connected_ = false;
    dialup_.Entry = last_dialed_entry_;
    if (asleep_ && settings_.CkbResumeCheck) {
      redial_timer_->SetInterval(static_cast<unsigned>(settings_.UdResumeSettle) * 1000);
      redial_timer_->SetEnabled(true);
    } else {
      Redial();
    }
  }
  PlayEventSound(EventSound::Disconnect);
}

void DialingController::SetOnlineState(bool on) {
  const bool was_online = online_;
  online_ = on;
  if (!on) {
    const uint32_t ras_code = dialup_.DisconnectError();  // before the actions take their time
    // A line that went while a sleep's record waits was lost in the sleep.
    const std::string reason = !down_reason_.empty()        ? down_reason_
                               : session_.SleepRecordHeld() ? kLostInSleep
                                                            : "dropped by the line";
    if (was_online) {
      down_reason_.clear();
      LogLineDown(reason);
      if (!std::exchange(asked_down_, false)) {
        dropped_ = reason;
        Tell(last_dialed_entry_ + " went offline: " + reason + ".");
      }
    }
    actions_.PerformActions(PerformAt::WhenDisconnected);
    session_.SaveSessionRecord(reason, ras_code);
  }
  view_.SetOnlineLabel(on ? "Online" : "Offline", on ? kOnlineColor : kOfflineColor);
  events_.OnlineChanged(on);
}

void DialingController::LogLineDown(const std::string& reason) {
  if (!settings_.CkbDetailedLog)
    return;
  const uint64_t ended = asleep_ ? asleep_ms_ : ports_.clock.MonotonicMs();
  const double lasted = static_cast<double>(ended - connected_ms_) / kMsPerDay;
  log_.WriteDialLog("Line down: " + reason + "; the session lasted " + FormatDuration(lasted) + ".",
                    LogKind::Message);
}

void DialingController::LogNoSession(const std::string& reason) {
  if (settings_.CkbDetailedLog)
    log_.WriteDialLog("Line down: " + reason + "; no session.", LogKind::Message);
}

void DialingController::HangUp1Click() {
  HangUpAs(ByUser() ? "hung up by the user" : "hung up by a schedule");
}

// The line may have gone while the question waited.
void DialingController::CheckBudget() {
  if (online_ && budget_.HangUpNow(last_dialed_entry_) && online_)
    HangUpAs("hung up for the budget");
}

void DialingController::HangUpAs(const std::string& reason) {
  const bool attempt = dialing_ && !online_;
  // Before the hang-up: what its wait runs must not redial.
  user_hung_up_ = true;
  down_reason_ = reason;
  wait_time_timer_->SetEnabled(false);
  StopPatientRetry(reason);
  was_connected_ = false;
  asked_down_ = true;
  HangUpLine();
  SetOnlineState(false);
  if (attempt)
    LogNoSession(reason);
  // RAS may send no final notification for an attempt it was still dialing.
  dialing_ = false;
  log_.WriteDialLog("Disconnected", LogKind::Message);
}

void DialingController::HangUpForExit() {
  user_hung_up_ = true;  // no automatic redial may start from here on
  HangUpLine();
}

void DialingController::HangUpLine() {
  struct Scope {
    bool& flag;
    explicit Scope(bool& f) : flag(f) { flag = true; }
    ~Scope() { flag = false; }
  } scope(hanging_up_);
  if (dialup_.HangUp() == kHangUpTimedOut) {
    log_.WriteDialLog("The line did not confirm the hang-up within 10 seconds.", LogKind::Error);
  }
}

void DialingController::WaitTimeTimerTimer() {
  wait_time_timer_->SetEnabled(false);
  if (dialup_.ConnectionGone()) {
    // The attempt vanished without a final notification: it is no longer dialing, or
    // the redial timer would wait for it forever.
    dialing_ = false;
    LogNoSession("the attempt vanished");
    AfterFailure(0);
  }
}

void DialingController::AfterFailure(int error) {
  ++failures_;
  refusals_ = IsRefusal(error) ? refusals_ + 1 : 0;
  // Accounts get locked after wrong passwords: a refusal stop is never retried.
  if (settings_.CkbStopOnRefusal && refusals_ >= kRefusalsStop) {
    StopRedialing("Redialing stopped: the user name or password was refused twice in a row (" +
                      Attempts(failures_) + ").",
                  false);
    return;
  }
  if (patient_) {
    patient_retry_timer_->SetEnabled(true);
    return;
  }
  if (settings_.UdStopAfterFailures > 0 && failures_ >= settings_.UdStopAfterFailures) {
    StopRedialing("Redialing stopped after " + Attempts(failures_) + " in a row.", true);
    return;
  }
  if (settings_.CkbNextNumberWhenBusy &&
      (error == static_cast<int>(kRasLineBusy) || error == static_cast<int>(kRasNoAnswer)))
    TryNextNumber();
  redial_timer_->SetInterval(RedialDelayMs());
  redial_timer_->SetEnabled(true);
}

// A vanished attempt's wait would otherwise find the handle gone and redial all the same.
void DialingController::StopRedialing(const std::string& why, bool patient) {
  wait_time_timer_->SetEnabled(false);
  redial_timer_->SetEnabled(false);
  view_.SetOnlineLabel("Offline", kOfflineColor);
  log_.WriteDialLog(why, LogKind::Error);
  if (settings_.CkbNotices)
    Tell(last_dialed_entry_ + ": " + why);
  else
    events_.Warn(why);
  StopPatientRetry("redialing stopped");
  if (!patient || !settings_.CkbPatientRetry)
    return;
  patient_ = true;
  patient_retry_timer_->SetInterval(static_cast<unsigned>(settings_.UdPatientRetryMinutes) * 60000);
  patient_retry_timer_->SetEnabled(true);
}

void DialingController::Tell(const std::string& text) {
  if (settings_.CkbNotices)
    events_.Notice(text);
}

void DialingController::StopPatientRetry(const std::string& why) {
  if (patient_)
    log_.WriteDialLog("The patient retry ends: " + why + ".", LogKind::Message);
  patient_ = false;
  patient_retry_timer_->SetEnabled(false);
}

// Each try is one dial of the program's, through the budget; a failed one waits for the
// next try instead of redialing.
void DialingController::PatientRetryTimerTimer() {
  patient_retry_timer_->SetEnabled(false);
  if (!patient_ || online_ || dialing_ || user_hung_up_)
    return;
  dialup_.Entry = last_dialed_entry_;
  if (!budget_.MayDial(dialup_.Entry, DialBy::Program))
    return StopPatientRetry("the budget is used up");
  log_.WriteDialLog("Patient retry: dialing " + last_dialed_entry_ + " again, every " +
                        std::to_string(settings_.UdPatientRetryMinutes) +
                        " minutes until it connects.",
                    LogKind::Message);
  StartDial();
}

unsigned DialingController::RedialDelayMs() const {
  const unsigned delay = static_cast<unsigned>(settings_.UdRedialAfter) * 1000;
  if (!settings_.CkbLongerWait)
    return delay;
  unsigned factor = 1;
  for (int i = 1; i < failures_ && factor < kLongestWaitFactor; ++i)
    factor *= 2;
  return delay * std::min(factor, kLongestWaitFactor);
}

// Round the list of the connection that failed, from the number dialed last; a PN not on
// the list starts it at its first number.
void DialingController::TryNextNumber() {
  const EntryInfo profile = connections_.ProfileOf(last_dialed_entry_);
  const std::vector<std::string> numbers = SplitPhoneList(profile.PNList);
  if (numbers.empty())
    return;
  const auto dialed = next_numbers_.find(last_dialed_entry_);
  const std::string current = dialed != next_numbers_.end() ? dialed->second : profile.PN;
  auto at = std::find(numbers.begin(), numbers.end(), current);
  if (at != numbers.end())
    ++at;
  const std::string& next = at == numbers.end() ? numbers.front() : *at;
  if (next == current)
    return;
  next_numbers_[last_dialed_entry_] = next;
  log_.WriteDialLog(
      "Busy or no answer: the next dial uses " + next + " (" + Attempts(failures_) + " in a row).",
      LogKind::Message);
}

void DialingController::RedialTimerTimer() {
  if (dialing_)
    return;  // ask again at the next tick
  redial_timer_->SetEnabled(false);
  if (!online_)
    Redial();
}

void DialingController::Redial() {
  if (!user_hung_up_ && !dialing_ && budget_.MayDial(dialup_.Entry, DialBy::Redial))
    StartDial();
}

void DialingController::KeepConnection1Click() {
  SetKeepConnection(!settings_.CkbKeepConnection);
}

void DialingController::SetKeepConnection(bool value) {
  view_.ShowKeepConnection(value);
  settings_.CkbKeepConnection = value;
}

void DialingController::PlayEventSound(EventSound kind) {
  const bool enabled = kind == EventSound::Connect      ? settings_.EnableConnectSound
                       : kind == EventSound::Disconnect ? settings_.EnableDisconnectSound
                                                        : settings_.EnableErrorSound;
  const std::string& file = kind == EventSound::Connect      ? settings_.ConnectSoundFile
                            : kind == EventSound::Disconnect ? settings_.DisconnectSoundFile
                                                             : settings_.ErrorSoundFile;
  if (enabled)
    PlayWaveFile(ports_.sound, ports_.files, file);
}

void DialingController::CopyIPToClipboard() {
  if (!settings_.CkbCopyIP || !online_)
    return;
  dialup_.GetIPAddresses(dialup_.ConnectionHandle());
  const std::string& server = dialup_.ServerIP();
  const std::string& client = dialup_.ClientIP();
  const std::string text = settings_.RgCopyIP == 0   ? server
                           : settings_.RgCopyIP == 1 ? client
                           : settings_.RgCopyIP == 2
                               ? "Server IP: " + server + "\r\nClient IP: " + client
                               : "";
  ports_.desktop.SetClipboardText(text + "\r\n");
}

void DialingController::EntryRenamed(const std::string& from, const std::string& to) {
  if (last_dialed_entry_ == from)
    last_dialed_entry_ = to;
  if (auto next = next_numbers_.extract(from))
    next_numbers_.insert_or_assign(to, std::move(next.mapped()));
  session_.RenameSession(from, to);
}
