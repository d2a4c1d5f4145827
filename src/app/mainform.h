// The main controller: owns the dial-up component and the program-wide state, runs
// start-up and shutdown, and turns the window's commands into dials and log lines.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/dial_log.h"
#include "app/main_view.h"
#include "dialup/dialup.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/locale.h"
#include "platform/prompts.h"
#include "platform/shell.h"
#include "platform/ui_loop.h"
#include "settings/app_settings.h"

// The outside world as the controller reaches it.
struct MainPorts {
  RasApi& Ras;
  UiLoop& Ui;
  Clock& Time;
  Locale& Regional;
  Files& Disk;
  Shell& Desktop;
  Prompts& Boxes;
};

constexpr const char* kAppTitle = "Tarvolin";
constexpr const char* kAppVersionCaption = "Tarvolin 3.0";
constexpr const char* kAutoDialArgument = "AutoDial";

class Tmainform {
 public:
  Tmainform(const MainPorts& ports, MainView& view, std::vector<std::string> args);

  // Loads the program's state, in the order each step's data depends on.
  void FormCreate();

  // Commands.
  void Dial1Click();
  void HangUp1Click();
  void ViewLogs1Click();
  void Exit1Click();
  // The window is closing: true when the program should end (Exit was chosen), false
  // when the window only went to the tray.
  bool FormClose();
  // The single-instance message: 0 shows the window, 1 asks for a dial.
  void UserMessage(intptr_t lparam);

  void WriteDialLog(const std::string& text, LogKind kind);

  // Called before each start-up step with its name, so the order can be followed.
  std::function<void(const char* step)> OnStartupStep;

  TDialUp DialUp;
  AppSettings Settings;

  bool Online = false;
  bool Dialing = false;
  bool UserHungUp = true;
  bool WasConnected = false;
  bool ExitRequested = false;
  bool HiddenToTray = false;
  std::string LastDialedEntry;

 private:
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
  void ShowSavedView();
  void RegisterHotKeys();
  void ConnectOnStartup();

  void StartDial();
  void SetOnlineState(bool on);
  void HideToTray();

  void DialUpDialing();
  void DialUpAsyncEvent(int state, int error, const std::string& text);
  void DialUpError(int code, const std::string& message);

  MainPorts ports_;
  MainView& view_;
  std::vector<std::string> args_;
  DialLog log_;
  bool log_failure_shown_ = false;
};
