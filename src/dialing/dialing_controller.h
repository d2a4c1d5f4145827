// The dialing controller: turns Dial, Hang Up and Keep into calls on the dial-up
// component, follows the dial's events, redials after errors, vanished attempts and, with
// keep-connection, dropped lines, and plays the event sounds.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "actions/actions.h"
#include "log/connection_log.h"
#include "ports/main_ports.h"
#include "accounting/session_accounting.h"
#include "dialup/dialup.h"
#include "dialing/budget_guard.h"
#include "dialing/line_events.h"
#include "profiles/connection_list.h"
#include "settings/app_settings.h"
#include "display/histogram.h"
#include "update/version_check.h"

enum class EventSound { Connect, Disconnect, Error };

// What the controller shows in the main window. Colours are 0x00BBGGRR.
class DialingView {
 public:
  virtual ~DialingView() = default;
  virtual void SetOnlineLabel(const std::string& text, uint32_t color) = 0;
  // The Keep button's down state.
  virtual void ShowKeepConnection(bool on) = 0;
};

// Every dial goes through StartDial, which refuses while a dial is in progress and after
// the user hung up, so the many triggers can never start two dials at once or redial
// after a hang-up. A dial started while online goes offline first, as a hang-up does.
// LastDialedEntry names the entry of the dial under way or of the line that is up; a
// dial refused meanwhile leaves it. The component's events must be wired to the DialUp*
// handlers.
class DialingController {
 public:
  DialingController(const MainPorts& ports, TDialUp& dialup, AppSettings& settings,
                    ConnectionList& connections, ConnectionLog& log, SessionAccounting& session,
                    TransferRing& ring, LineEvents& events, Actions& actions,
                    VersionCheck& versions, DialingView& view);
  ~DialingController();

  // The state at start: offline, nothing dialing, the user counted as having hung up.
  void Reset();

  // The user's commands.
  void Dial1Click();
  void HangUp1Click();
  void KeepConnection1Click();
  void SetKeepConnection(bool value);
  // The single-instance request to dial: only while neither online nor dialing. Not a
  // dial the user starts.
  void DialRequest();
  // Runs `command` (a Dial or Hang Up a schedule issues) as the program's, not the
  // user's: what the user's own dial resets stays as it is, and the log names who hung up.
  void RunAsProgram(const std::function<void()>& command);
  // Why a schedule's reconnect of a line up for at least `after_hours` hours (real time)
  // would be skipped now: a dial under way, no line, a younger line, or an entry whose
  // budget holds back the program's dials; nullopt when it would go ahead.
  std::optional<std::string> ReconnectSkipped(int after_hours);
  // The line is hung up and its entry dialed again as the program's dial; the log says so.
  void ReconnectLine();
  // The start argument "AutoDial" dials, else CkbConnectOnStartup dials the default or
  // the selected connection.
  void ConnectOnStartup(const std::vector<std::string>& args);
  // Exit: no automatic redial from now on, and the line is hung up without a log line.
  void HangUpForExit();

  // The monitor's check, once a second: a connection RAS no longer knows is gone.
  void DetectDisconnect();
  // With CkbMinSpeed, a line whose speed, as the statistics last read it, is below the
  // chosen one is hung up; not as the user's, so keep-connection dials again once the
  // monitor sees the line gone. A speed of 0 was never read and hangs nothing up. Call
  // them only after a successful statistics read.
  // The Options dialog's OK: tests the line now.
  void CheckMinimumSpeed();
  // The monitor's tick: tests each connect once. A line that links too slowly three
  // connects in a row is kept, said once, and not tested again until the user dials.
  void CheckSpeedAfterConnect();
  // The monitor's tick, after the counters grew: the budget's warning and question; a yes
  // hangs up as the user's Hang Up does, so keep-connection does not dial again.
  void CheckBudget();
  // The wait and redial timers take UdWaitTime and UdRedialAfter now, not only at the
  // next dial.
  void ApplyTimerIntervals();
  // The keep-alive found the line up but dead after `echoes` unanswered echoes: said in
  // the log, and hung up not as the user's, so keep-connection dials again.
  void HangUpDeadLine(int echoes);
  // The system is going to sleep: the session in hand ends now; its record waits for the
  // wake to say how the line fared. Time asleep never counts.
  void Suspending();
  // The system woke from the sleep Suspending saw. The line is looked at, with
  // CkbResumeCheck at once, else at the next tick: one that went down is a drop "lost
  // during a sleep" (which keep-connection redials, with CkbResumeCheck after
  // UdResumeSettle seconds); one still up begins a new session at the wake. A tick that
  // finds more than a gap of half a minute since the last one treats it as such a sleep,
  // from the last tick to now.
  void Resumed();

  // The phonebook entry `from` is called `to` now: the line, its session and its next
  // number go by the new name.
  void EntryRenamed(const std::string& from, const std::string& to);

  // The dial-up component's events.
  void DialUpDialing();
  void DialUpConnect();
  void DialUpNotConnected(int code, const std::string& message);
  void DialUpAsyncEvent(int state, int error, const std::string& text);
  void DialUpError(int code, const std::string& message);

  // Timer handlers.
  void WaitTimeTimerTimer();
  void RedialTimerTimer();
  void PatientRetryTimerTimer();

  void PlayEventSound(EventSound kind);

  bool Online() const { return online_; }
  bool Dialing() const { return dialing_; }
  bool UserHungUp() const { return user_hung_up_; }
  bool WasConnected() const { return was_connected_; }
  const std::string& LastDialedEntry() const { return last_dialed_entry_; }
  const UiTimer& WaitTimeTimer() const { return *wait_time_timer_; }
  const UiTimer& RedialTimer() const { return *redial_timer_; }
  const UiTimer& PatientRetryTimer() const { return *patient_retry_timer_; }

 private:
  static constexpr const char* kNewDialReason = "hung up for a new dial";
  // Dials dialup.Entry as the user's Dial does: no longer hung up, the redial delay
  // from the settings, the BeforeDialing actions. A line that is up goes down for
  // `reason_if_online`.
  void DialCurrentEntry(const std::string& reason_if_online = kNewDialReason);
  // Whether the dial or hang-up now running is the user's (button, menu, tray, hotkey).
  bool ByUser() const { return program_commands_ == 0; }
  bool LineTooSlow() const;
  // A dial failed (`error`, 0 for an attempt that vanished): stops redialing when the
  // options say so, else moves to the next number when asked and arms the redial.
  void AfterFailure(int error);
  // With CkbPatientRetry and `patient`, a try every UdPatientRetryMinutes follows.
  void StopRedialing(const std::string& why, bool patient);
  // With CkbNotices, `text` as a notice over the tray icon.
  void Tell(const std::string& text);
  // Ends the patient retry; the log says `why` when one was on.
  void StopPatientRetry(const std::string& why);
  // "the line has been up for hh:mm:ss"
  std::string UpFor() const;
  // The pause before the next redial, longer after each failure with CkbLongerWait.
  unsigned RedialDelayMs() const;
  void TryNextNumber();
  // With CkbDetailedLog, the line that says why the session ended and how long it lasted.
  void LookAfterSleep();
  void EndSettle();
  void LogLineDown(const std::string& reason);
  // With CkbDetailedLog, the line that says why an attempt ended before a session began.
  void LogNoSession(const std::string& reason);
  void StartDial(const std::string& reason_if_online = kNewDialReason);
  // The redial of dialup.Entry, after a failed dial or a dropped line, unless the user
  // hung up or its budget holds it back.
  void Redial();
  // Hangs up, the user's way: no redial follows.
  void HangUpAs(const std::string& reason);
  void HandleConnected();
  void HandleDisconnected();
  void SetOnlineState(bool on);
  void HangUpLine();

  // With CkbCopyIP, the addresses RgCopyIP chooses go to the clipboard, ended by CR LF.
  void CopyIPToClipboard();
  // Where later features join the dial's road.

  MainPorts ports_;
  TDialUp& dialup_;
  AppSettings& settings_;
  ConnectionList& connections_;
  ConnectionLog& log_;
  SessionAccounting& session_;
  TransferRing& ring_;
  LineEvents& events_;
  Actions& actions_;
  VersionCheck& versions_;
  DialingView& view_;
  std::unique_ptr<UiTimer> wait_time_timer_;
  std::unique_ptr<UiTimer> redial_timer_;
  // After redialing stopped: a dial of the program's each time it fires, until one
  // connects or the user dials or hangs up.
  std::unique_ptr<UiTimer> patient_retry_timer_;
  // Set by RAS when the line in hand ends: the drop is noticed at once, not at the next
  // tick of the monitor, which stays the way for a RAS without the notification.
  std::unique_ptr<UiSignal> line_ended_;
  BudgetGuard budget_;

  bool online_ = false;
  bool dialing_ = false;
  bool user_hung_up_ = true;
  bool hanging_up_ = false;  // inside HangUpLine, whose wait pumps messages
  bool was_connected_ = false;
  bool asleep_ = false;            // from Suspending until the line was looked at
  bool look_after_sleep_ = false;  // awake, the line not yet looked at
  uint64_t asleep_ms_ = 0;         // monotonic, since Suspending
  uint64_t settle_until_ms_ = 0;   // awake, the line looked at each second until then
  bool asked_down_ = false;        // the line going down now was hung up by the user, a schedule,
                                   // the budget or a new dial: no notice
  std::string dropped_;            // why the line went down by itself, until it is back
  bool patient_ = false;           // redialing stopped and the patient retry is on
  std::string last_dialed_entry_;
  int program_commands_ = 0;  // RunAsProgram scopes in progress
  // With CkbDetailedLog: why the line in hand goes down, when the program takes it down,
  // and since when it is up (monotonic, so clock changes do not matter).
  std::string down_reason_;
  uint64_t connected_ms_ = 0;
  bool speed_check_due_ = false;  // the line connected and was not tested yet
  int slow_connects_ = 0;         // in a row
  int failures_ = 0;              // failed attempts in a row
  int refusals_ = 0;              // the last failures_ that refused the account
  // The number the dials of each entry use instead of its profile's PN, after a busy line;
  // held in memory only, PN stays the user's.
  std::map<std::string, std::string> next_numbers_;
};
