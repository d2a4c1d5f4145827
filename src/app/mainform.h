// The main controller: owns the dial-up component and the program-wide state, runs
// start-up and shutdown, the connection list, the dialing and the connection log. Its
// handlers are spread over files by concern: mainform.cpp (start-up, shutdown, window
// commands, the log), connection_list.cpp, dialing.cpp and monitor.cpp.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/dial_log.h"
#include "app/main_view.h"
#include "dialup/dialup.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/keyboard.h"
#include "platform/locale.h"
#include "platform/profile_file.h"
#include "platform/prompts.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/sound.h"
#include "platform/ui_loop.h"
#include "profiles/account_table.h"
#include "profiles/entry_info.h"
#include "profiles/profile_store.h"
#include "settings/app_settings.h"

// The outside world as the controller reaches it.
struct MainPorts {
  RasApi& ras;
  UiLoop& ui;
  Clock& clock;
  Locale& locale;
  Files& files;
  Shell& shell;
  Prompts& prompts;
  Registry& registry;
  ProfileFile& profiles;
  Keyboard& keyboard;
  Sound& sound;
  Desktop& desktop;
};

constexpr const char* kAppTitle = "Tarvolin";
constexpr const char* kAppVersionCaption = "Tarvolin 3.0";
constexpr const char* kAutoDialArgument = "AutoDial";

enum class PerformAt { BeforeDialing, AfterConnected, WhenDisconnected, WhenErrorOccurs };
enum class EventSound { Connect, Disconnect, Error };

class Tmainform {
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

  // Window commands.
  void Dial1Click();
  void HangUp1Click();
  void KeepConnection1Click();
  void ViewLogs1Click();
  void Exit1Click();
  void New1Click();
  void Edit1Click();
  void Delete1Click();
  void Refresh1Click();
  void Property1Click();
  void SetDefault1Click();
  void CnListSelectItem(const std::string& caption);
  void CnListDblClick();

  // Timer handlers.
  void CheckTimerTimer();
  void WaitTimeTimerTimer();
  void RedialTimerTimer();

  void WriteDialLog(const std::string& text, LogKind kind);
  void SetKeepConnection(bool value);
  void PlayEventSound(EventSound kind);

  // Called before each start-up step with its name, so the order can be followed.
  std::function<void(const char* step)> OnStartupStep;

  TDialUp DialUp;
  AppSettings Settings;
  TAccountTable AccountTable;
  EntryInfo CurrentProfile;
  std::string Rt_LastSelect;
  std::string HighlightedEntry;
  int WatchCounter = 0;

  bool Online = false;
  bool Dialing = false;
  bool UserHungUp = true;
  bool WasConnected = false;
  bool ExitRequested = false;
  bool HiddenToTray = false;
  std::string LastDialedEntry;

  std::unique_ptr<UiTimer> CheckTimer;
  std::unique_ptr<UiTimer> WaitTimeTimer;
  std::unique_ptr<UiTimer> RedialTimer;

 private:
  // Start-up steps, in FormCreate's order.
  void DeleteDialLog();
  void ResetToDefaults();
  void LoadSettings();
  void WriteProgName();
  void ApplyWindowSettings();
  void WriteAutoDialSettings();
  void BuildInitialAccountTable();
  void FillConnectionList();
  void LoadAndApplyProfile();
  void ApplyAlwaysOnTop();
  void RestoreKeepConnection();
  void LoadTimeRecords();
  void LoadActionsAndSchedules();
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

  // The connection list.
  void BuildAccountTable(bool initial);
  void RefreshConnections();
  std::string ReadDefaultConnection();
  void WriteDefaultConnection(const std::string& name);
  void WriteAutoDialValues(RegRoot root, const std::string& profile_key, bool on);
  void WatchConnections();
  void DialSelectedOnStartup();

  // Dialing.
  void StartDial();
  void DialUpDialing();
  void DialUpConnect();
  void DialUpNotConnected(int code, const std::string& message);
  void DialUpAsyncEvent(int state, int error, const std::string& text);
  void DialUpError(int code, const std::string& message);
  void HandleConnected();
  void HandleDisconnected();
  void SetOnlineState(bool on);
  void HangUpLine();
  void PerformActions(PerformAt point);
  void RecordConnectTime();
  void CopyIPToClipboard();
  void CheckNewVersionSilently();

  // The monitor.
  void MonitorTick();
  void DetectDisconnect();

  void HideToTray();
  void LoadCurrentProfile();
  void ReportProblems(const std::vector<std::string>& problems);

  MainPorts ports_;
  MainView& view_;
  std::vector<std::string> args_;
  DialLog log_;
  ProfileStore profile_store_;
  bool log_failure_shown_ = false;
  std::set<std::string> problems_shown_;
};
