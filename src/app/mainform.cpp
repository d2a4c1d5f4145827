// The main controller: start-up, shutdown, the window's own commands and the log.
#include "app/mainform.h"

#include <array>
#include <utility>

#include "settings/settings_store.h"

Tmainform::Tmainform(const MainPorts& ports, MainView& view, std::vector<std::string> args)
    : DialUp(ports.ras, ports.ui, ports.clock),
      CheckTimer(ports.ui.CreateTimer()),
      WaitTimeTimer(ports.ui.CreateTimer()),
      RedialTimer(ports.ui.CreateTimer()),
      ports_(ports),
      view_(view),
      args_(std::move(args)),
      log_(ports.files, ports.locale),
      profile_store_(ports.profiles, ports.files, ports.locale) {
  DialUp.DialMode = dmAsync;
  DialUp.Language = English;
  DialUp.OnDialing = [this](TDialUp&) { DialUpDialing(); };
  DialUp.OnConnect = [this](TDialUp&) { DialUpConnect(); };
  DialUp.OnNotConnected = [this](TDialUp&, int code, const std::string& message) {
    DialUpNotConnected(code, message);
  };
  DialUp.OnAsyncEvent = [this](TDialUp&, int state, int error, const std::string& text) {
    DialUpAsyncEvent(state, error, text);
  };
  DialUp.OnError = [this](TDialUp&, int code, const std::string& message) {
    DialUpError(code, message);
  };
  CheckTimer->SetInterval(1000);
  CheckTimer->OnTimer = [this] { CheckTimerTimer(); };
  WaitTimeTimer->SetInterval(80000);
  WaitTimeTimer->OnTimer = [this] { WaitTimeTimerTimer(); };
  RedialTimer->SetInterval(3000);
  RedialTimer->OnTimer = [this] { RedialTimerTimer(); };
  CheckTimer->SetEnabled(true);
}

Tmainform::~Tmainform() = default;

void Tmainform::FormCreate() {
  using Step = std::pair<const char*, void (Tmainform::*)()>;
  static const std::array<Step, 16> kSteps = {{
      {"DeleteDialLog", &Tmainform::DeleteDialLog},
      {"ResetToDefaults", &Tmainform::ResetToDefaults},
      {"LoadSettings", &Tmainform::LoadSettings},
      {"WriteProgName", &Tmainform::WriteProgName},
      {"ApplyWindowSettings", &Tmainform::ApplyWindowSettings},
      {"WriteAutoDialSettings", &Tmainform::WriteAutoDialSettings},
      {"BuildAccountTable", &Tmainform::BuildInitialAccountTable},
      {"FillConnectionList", &Tmainform::FillConnectionList},
      {"LoadAndApplyProfile", &Tmainform::LoadAndApplyProfile},
      {"ApplyAlwaysOnTop", &Tmainform::ApplyAlwaysOnTop},
      {"RestoreKeepConnection", &Tmainform::RestoreKeepConnection},
      {"LoadTimeRecords", &Tmainform::LoadTimeRecords},
      {"LoadActionsAndSchedules", &Tmainform::LoadActionsAndSchedules},
      {"ShowSavedView", &Tmainform::ShowSavedView},
      {"InstallHotKeys", &Tmainform::InstallHotKeys},
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
  SetDefaultSettings(ports_.keyboard, Settings);
  Rt_LastSelect.clear();
  AccountTable = TAccountTable{};
  WatchCounter = 0;
  Online = Dialing = WasConnected = ExitRequested = HiddenToTray = false;
  UserHungUp = true;
  LastDialedEntry.clear();
  SetOnlineState(false);
}

void Tmainform::LoadSettings() {
  ReportProblems(::LoadSettings(ports_.registry, ports_.keyboard, Settings, Rt_LastSelect));
}

void Tmainform::WriteProgName() {
  ::WriteProgName(ports_.registry, ports_.files.ExePath());
}

void Tmainform::ApplyWindowSettings() {
  view_.ApplyWindowSettings(kAppTitle, kAppVersionCaption, Settings.Left, Settings.Top);
}

void Tmainform::BuildInitialAccountTable() {
  BuildAccountTable(true);
}

void Tmainform::LoadAndApplyProfile() {
  LoadCurrentProfile();
}

void Tmainform::ApplyAlwaysOnTop() {}

void Tmainform::RestoreKeepConnection() {
  SetKeepConnection(Settings.CkbKeepConnection);
}

void Tmainform::LoadTimeRecords() {}

void Tmainform::LoadActionsAndSchedules() {}

void Tmainform::ShowSavedView() {}

void Tmainform::InstallHotKeys() {}

// ---- shutdown ----

bool Tmainform::FormClose() {
  if (!ExitRequested) {
    HideToTray();
    return false;
  }
  using Step = void (Tmainform::*)();
  static const std::array<Step, 8> kSteps = {
      &Tmainform::HangUpForExit,      &Tmainform::RemoveHotKeys,
      &Tmainform::SaveSettings,       &Tmainform::SaveActionsAndSchedules,
      &Tmainform::ApplyRunOnStartup,  &Tmainform::SaveSessionRecord,
      &Tmainform::WritePasswordAgain, &Tmainform::RenewAutoDialSettings,
  };
  for (Step step : kSteps)
    (this->*step)();
  return true;
}

void Tmainform::HangUpForExit() {
  UserHungUp = true;  // no automatic redial may start from here on
  HangUpLine();
}

void Tmainform::RemoveHotKeys() {}

void Tmainform::SaveSettings() {
  int left = Settings.Left;
  int top = Settings.Top;
  view_.WindowPosition(left, top);
  const int selected = SelectedAccount(AccountTable);
  if (selected >= 0)
    Rt_LastSelect = AccountTable[selected].EntryName;
  ::SaveSettings(ports_.registry, ports_.keyboard, Settings, left, top,
                 selected >= 0 ? &Rt_LastSelect : nullptr);
}

void Tmainform::SaveActionsAndSchedules() {}

void Tmainform::ApplyRunOnStartup() {
  ReportProblems(
      ::ApplyRunOnStartup(ports_.registry, Settings.CkbRunOnStartup, ports_.files.ExePath()));
}

void Tmainform::SaveSessionRecord() {}

void Tmainform::WritePasswordAgain() {}

void Tmainform::RenewAutoDialSettings() {
  if (Settings.CkbAutoDial)
    WriteAutoDialSettings();
}

// ---- window commands ----

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

void Tmainform::ViewLogs1Click() {
  if (ports_.files.Exists(log_.Path())) {
    ports_.shell.Open(log_.Path(), view_.Handle());
  } else {
    ports_.prompts.Information("No logs exist.");
  }
}

void Tmainform::Exit1Click() {
  ExitRequested = true;
  view_.Close();
}

void Tmainform::HideToTray() {
  view_.HideMainForm();
  HiddenToTray = true;
}

// ---- the log and problem reports ----

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
  ports_.prompts.Error("Cannot write the connection log " + log_.Path() + ": " + error);
}

void Tmainform::ReportProblems(const std::vector<std::string>& problems) {
  // A bad value is read again at every rebuild and dial; saying so once is enough.
  std::string text;
  for (const auto& problem : problems) {
    if (problems_shown_.insert(problem).second)
      text += problem + "\n";
  }
  if (!text.empty())
    ports_.prompts.Error(text);
}
