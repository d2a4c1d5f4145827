// The main controller: start-up, shutdown, the window's commands and the log.
#include "app/mainform.h"

#include <array>
#include <utility>

namespace {

constexpr uint32_t kOnlineColor = 0x33AA33;  // RGB(51,170,51)
constexpr uint32_t kOfflineColor = 0x000000;

}  // namespace

Tmainform::Tmainform(const MainPorts& ports, MainView& view, std::vector<std::string> args)
    : DialUp(ports.Ras, ports.Ui, ports.Time),
      ports_(ports),
      view_(view),
      args_(std::move(args)),
      log_(ports.Disk, ports.Regional) {
  DialUp.DialMode = dmAsync;
  DialUp.Language = English;
  DialUp.OnDialing = [this](TDialUp&) { DialUpDialing(); };
  DialUp.OnAsyncEvent = [this](TDialUp&, int state, int error, const std::string& text) {
    DialUpAsyncEvent(state, error, text);
  };
  DialUp.OnError = [this](TDialUp&, int code, const std::string& message) {
    DialUpError(code, message);
  };
}

void Tmainform::FormCreate() {
  using Step = std::pair<const char*, void (Tmainform::*)()>;
  static const std::array<Step, 16> kSteps = {{
      {"DeleteDialLog", &Tmainform::DeleteDialLog},
      {"ResetToDefaults", &Tmainform::ResetToDefaults},
      {"LoadSettings", &Tmainform::LoadSettings},
      {"WriteProgName", &Tmainform::WriteProgName},
      {"ApplyWindowSettings", &Tmainform::ApplyWindowSettings},
      {"WriteAutoDialSettings", &Tmainform::WriteAutoDialSettings},
      {"BuildAccountTable", &Tmainform::BuildAccountTable},
      {"FillConnectionList", &Tmainform::FillConnectionList},
      {"LoadAndApplyProfile", &Tmainform::LoadAndApplyProfile},
      {"ApplyAlwaysOnTop", &Tmainform::ApplyAlwaysOnTop},
      {"RestoreKeepConnection", &Tmainform::RestoreKeepConnection},
      {"LoadTimeRecords", &Tmainform::LoadTimeRecords},
      {"LoadActionsAndSchedules", &Tmainform::LoadActionsAndSchedules},
      {"ShowSavedView", &Tmainform::ShowSavedView},
      {"RegisterHotKeys", &Tmainform::RegisterHotKeys},
      {"ConnectOnStartup", &Tmainform::ConnectOnStartup},
  }};
  for (const auto& [name, run] : kSteps) {
    if (OnStartupStep)
      OnStartupStep(name);
    (this->*run)();
  }
}

// ---- start-up steps ----

void Tmainform::DeleteDialLog() {
  log_.Delete();
}

void Tmainform::ResetToDefaults() {
  Settings = AppSettings{};
  Online = Dialing = WasConnected = ExitRequested = HiddenToTray = false;
  UserHungUp = true;
  LastDialedEntry.clear();
  SetOnlineState(false);
}

void Tmainform::LoadSettings() {}

void Tmainform::WriteProgName() {}

void Tmainform::ApplyWindowSettings() {
  view_.ApplyWindowSettings(kAppTitle, kAppVersionCaption, Settings.Left, Settings.Top);
}

void Tmainform::WriteAutoDialSettings() {}

void Tmainform::BuildAccountTable() {
  DialUp.GetEntries();
}

void Tmainform::FillConnectionList() {
  std::vector<ConnectionRow> rows;
  for (const auto& name : DialUp.Entries())
    rows.push_back({name, "", rows.empty(), false});
  view_.ShowConnections(rows);
  if (!rows.empty())
    DialUp.Entry = rows.front().EntryName;
}

void Tmainform::LoadAndApplyProfile() {}

void Tmainform::ApplyAlwaysOnTop() {}

void Tmainform::RestoreKeepConnection() {}

void Tmainform::LoadTimeRecords() {}

void Tmainform::LoadActionsAndSchedules() {}

void Tmainform::ShowSavedView() {}

void Tmainform::RegisterHotKeys() {}

void Tmainform::ConnectOnStartup() {
  bool auto_dial = false;
  for (const auto& arg : args_)
    auto_dial = auto_dial || arg == kAutoDialArgument;
  if (auto_dial && !Online && !Dialing)
    Dial1Click();
}

// ---- commands ----

void Tmainform::Dial1Click() {
  LastDialedEntry = DialUp.Entry;
  UserHungUp = false;
  StartDial();
}

void Tmainform::StartDial() {
  if (UserHungUp || Dialing)
    return;
  Dialing = true;
  WasConnected = false;
  LastDialedEntry = DialUp.Entry;
  view_.SetOnlineLabel("Dialing", kOfflineColor);
  DialUp.Dial();
}

void Tmainform::HangUp1Click() {
  WasConnected = false;
  DialUp.HangUp();
  SetOnlineState(false);
  UserHungUp = true;
  Dialing = false;
  WriteDialLog("Disconnected", LogKind::Message);
}

void Tmainform::ViewLogs1Click() {
  if (ports_.Disk.Exists(log_.Path())) {
    ports_.Desktop.Open(log_.Path(), view_.Handle());
  } else {
    ports_.Boxes.Information("No logs exist.");
  }
}

void Tmainform::Exit1Click() {
  ExitRequested = true;
  view_.Close();
}

bool Tmainform::FormClose() {
  if (!ExitRequested) {
    HideToTray();
    return false;
  }
  UserHungUp = true;
  DialUp.HangUp();
  return true;
}

void Tmainform::UserMessage(intptr_t lparam) {
  if (lparam == 0) {
    if (HiddenToTray) {
      view_.ShowMainForm();
      HiddenToTray = false;
    }
    view_.BringToFront();
  } else if (lparam == 1 && !Online && !Dialing) {
    Dial1Click();
  }
}

void Tmainform::HideToTray() {
  view_.HideMainForm();
  HiddenToTray = true;
}

void Tmainform::SetOnlineState(bool on) {
  Online = on;
  view_.SetOnlineLabel(on ? "Online" : "Offline", on ? kOnlineColor : kOfflineColor);
}

// ---- dial-up events ----

void Tmainform::DialUpDialing() {
  WriteDialLog("Connecting to " + DialUp.Entry + "...", LogKind::Message);
  ports_.Ui.ProcessMessages();  // paint the status line before RAS is called
}

void Tmainform::DialUpAsyncEvent(int state, int error, const std::string& text) {
  if (error == 0 && state == kRasConnected) {
    Dialing = false;
    DialUp.GetIPAddresses(DialUp.ConnectionHandle());
    WasConnected = true;
    SetOnlineState(true);
    WriteDialLog("Connected to server: " + DialUp.ServerIP(), LogKind::Message);
  } else if (error == 0) {
    WriteDialLog(text, LogKind::Message);
  } else if (error == static_cast<int>(kRasUserDisconnection)) {
    WriteDialLog(text, LogKind::Error);
    Dialing = false;
  } else {
    WriteDialLog("Error:" + std::to_string(error) + " " + text, LogKind::Error);
    DialUp.HangUp();
    Dialing = false;
  }
}

void Tmainform::DialUpError(int code, const std::string& message) {
  WriteDialLog("Error:" + std::to_string(code) + " " + message, LogKind::Error);
  Dialing = false;  // nothing was started, so the next Dial must work
}

// ---- the log ----

void Tmainform::WriteDialLog(const std::string& text, LogKind kind) {
  view_.SetStatus(text, LogColor(kind));
  if (!Settings.CkbWriteLogs)
    return;
  std::string error;
  if (log_.Write(text, kind, error) || log_failure_shown_)
    return;
  // One box per run: a log that cannot be written must not bury the user in boxes,
  // nor stop the dial that is being logged.
  log_failure_shown_ = true;
  ports_.Boxes.Error("Cannot write the connection log " + log_.Path() + ": " + error);
}
