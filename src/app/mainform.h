// The main controller: the front the window's handlers call. It owns the program-wide
// data and one object per concern, runs start-up and shutdown in their order, and
// forwards every command and event to the concern that handles it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "actions/actions.h"
#include "log/connection_log.h"
#include "dialing/dialing_controller.h"
#include "monitor/keep_alive.h"
#include "ports/main_ports.h"
#include "app/main_view.h"
#include "monitor/monitor.h"
#include "dialing/options_controller.h"
#include "accounting/session_accounting.h"
#include "accounting/usage_report.h"
#include "dialup/dialup.h"
#include "platform/dial_request.h"
#include "platform/problem_report.h"
#include "profiles/connection_list.h"
#include "scheduler/scheduler.h"
#include "settings/app_settings.h"
#include "hotkeys/hotkeys.h"
#include "settings/password_protection.h"
#include "tarvolin_version.h"
#include "display/button_sounds.h"
#include "commands/commands.h"
#include "display/histogram.h"
#include "display/help.h"
#include "display/readouts.h"
#include "display/tray.h"
#include "update/version_check.h"

constexpr const char* kAppTitle = kMainWindowTitle;

class Tmainform : private LineEvents {
 public:
  Tmainform(const MainPorts& ports, MainView& view, std::vector<std::string> args);
  ~Tmainform();

  // Loads the program's state, in the order each step's data depends on.
  void FormCreate();
  // The window is closing: true when the program should end (Exit was chosen), false
  // when the window only went to the tray.
  bool FormClose();
  // The single-instance message: 0 shows the window, 1 asks for a dial.
  void UserMessage(intptr_t lparam);
  // The automatic-dial companion's request: selects the entry by name, then asks for a
  // dial as the single-instance message 1 does, and says what came of it. Unknown when the
  // list has no such entry, even after a refresh, so that the system's own dialer takes
  // over; Online or Dialing when that entry's line is up or dialing already; Declined when
  // another one is, or no dial started (the budget).
  DialRequestAnswer DialEntryRequest(const std::string& entry);
  // A button or menu item with this id was chosen: its command runs.
  void ControlClick(int id);

  // The commands, as the command table runs them.
  void Dial1Click();
  void HangUp1Click();
  void KeepConnection1Click();
  void Property1Click();
  void New1Click();
  void Edit1Click();
  void Delete1Click();
  void SetDefault1Click();
  void Refresh1Click();
  void HotKey1Click();
  void ViewLogs1Click();
  void CheckNewVersion1Click();
  void Option1Click();
  void Schedule1Click();
  void Action1Click();
  void Exit1Click();
  void ShowHideMainform1Click();
  void Copytoclipboard1Click();
  void About1Click();
  void Context1Click();
  void Homepage1Click();
  void MailtoAuthor1Click();
  void BtnHelpClick();
  // The connection list's events.
  void CnListSelectItem(const std::string& caption);
  void CnListDblClick();
  // The copy menu opens over read-out `tag` (1-3).
  void CopyPopPopup(int tag);
  // The system's hotkey message, with the identifier of the hotkey pressed.
  void WMHotKey(int id);
  // The monitor's one-second tick.
  void CheckTimerTimer();
  // The system is about to sleep, and woke from it.
  void SystemSuspending();
  void SystemResumed();

  const CommandTable& Commands() const { return commands_; }
  AppSettings& Settings() { return settings_; }
  TDialUp& DialUp() { return dialup_; }
  ConnectionList& Connections() { return connections_; }
  DialingController& Dialing() { return dialing_; }
  SessionAccounting& Session() { return session_; }
  ConnectionLog& Log() { return log_; }
  KeepAlive& KeepAliveEcho() { return keep_alive_; }
  Scheduler& Schedules() { return schedules_; }
  Actions& UserActions() { return actions_; }
  const Tray& TrayIcon() const { return tray_; }
  bool HiddenToTray() const { return tray_.HiddenToTray(); }
  ButtonSounds& Sounds() { return sounds_; }
  // The skin's tray button.
  void HideToTray() { tray_.HideToTray(); }

 private:
  // The line's events, shown in the tray.
  void OnlineChanged(bool online) override;
  void MinimizeToTray() override { tray_.HideToTray(); }
  void Warn(const std::string& text) override { tray_.Warn(text); }
  void Notice(const std::string& text) override { tray_.Notice(text); }

  void BindCommands();
  void ShowView(int mode);
  void WireDialUpEvents();

  // Start-up steps, in FormCreate's order.
  void DeleteDialLog();
  void ResetToDefaults();
  void LoadSettings();
  void WriteProgName();
  void ApplyWindowSettings();
  void WriteAutoDialSettings();
  void BuildAccountTable();
  void FillConnectionList();
  void LoadAndApplyProfile();
  void ApplyAlwaysOnTop();
  void RestoreKeepConnection();
  void LoadTimeRecords();
  void LoadActionsAndSchedules();
  void SayTakeOver();
  void ShowSavedView();
  void InstallHotKeys();
  void ConnectOnStartup();

  // Shutdown steps, in FormClose's order.
  void HangUpForExit();
  void RemoveHotKeys();
  void SaveSettings();
  void SaveActionsAndSchedules();
  void ApplyRunOnStartup();
  void SaveSessionRecord();
  void WritePasswordAgain();
  void RenewAutoDialSettings();

  MainPorts ports_;
  MainView& view_;
  const std::vector<std::string> args_;
  AppSettings settings_;
  TDialUp dialup_;
  ProblemReport problems_;
  ConnectionLog log_;
  Tray tray_;
  ConnectionList connections_;
  SessionAccounting session_;
  TransferRing ring_;
  Readouts readouts_;
  VersionCheck versions_;
  Actions actions_;
  DialingController dialing_;
  KeepAlive keep_alive_;
  PasswordProtection password_;
  Scheduler schedules_;
  Monitor monitor_;
  OptionsController options_;
  CommandTable commands_;
  GlobalHotKeys hotkeys_;
  Help help_;
  UsageReport usage_;
  ButtonSounds sounds_;
  bool exit_requested_ = false;
};
