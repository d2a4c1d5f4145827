// The main controller: start-up, shutdown and the forwarding of commands and events.
#include "app/mainform.h"

#include <array>
#include <utility>

#include "app/take_over.h"
#include "settings/portable_registry.h"
#include "settings/settings_store.h"

Tmainform::Tmainform(const MainPorts& ports, MainView& view, std::vector<std::string> args)
    : ports_(ports),
      view_(view),
      args_(std::move(args)),
      dialup_(ports.ras, ports.ui, ports.clock, {&ports.registry, ports.system.PlatformFamily()}),
      problems_(ports.prompts),
      log_(ports.files, ports.clock, ports.locale, ports.prompts, ports.shell, view, settings_),
      tray_(view),
      connections_(ports, dialup_, settings_, view, problems_),
      session_(ports, connections_, problems_),
      readouts_(dialup_, connections_, settings_, ring_, ports.locale, ports.clock, ports.desktop,
                view),
      versions_(ports.network, ports.xml, ports.prompts, ports.shell, settings_, UpdateHost()),
      actions_(ports, log_, settings_, view, problems_),
      dialing_(ports, dialup_, settings_, connections_, log_, session_, ring_, *this, actions_,
               versions_, view),
      keep_alive_(ports, dialup_, settings_, log_),
      password_(ports.registry),
      schedules_(ports, settings_, commands_, dialing_, log_, problems_, view),
      monitor_(ports.ui, dialup_, dialing_, connections_, session_, readouts_, ring_, view,
               settings_, keep_alive_, tray_, problems_, schedules_, commands_),
      options_(ports, settings_, dialup_, dialing_, connections_, view),
      hotkeys_(ports, settings_, commands_, tray_, view),
      help_(ports.files, ports.shell, ports.prompts, view, kHomePage, kSupportMail),
      usage_(ports, connections_, session_, view),
      sounds_(ports.sound, ports.files, settings_) {
  dialup_.DialMode = dmAsync;
  dialup_.Language = English;
  WireDialUpEvents();
  connections_.OnNotice = [this](const std::string& text) {
    log_.WriteDialLog(text, LogKind::Message);
  };
  connections_.OnRenamed = [this](const std::string& from, const std::string& to) {
    dialing_.EntryRenamed(from, to);
  };
  BindCommands();
}

Tmainform::~Tmainform() = default;

void Tmainform::WireDialUpEvents() {
  dialup_.OnDialing = [this](TDialUp&) { dialing_.DialUpDialing(); };
  dialup_.OnConnect = [this](TDialUp&) { dialing_.DialUpConnect(); };
  dialup_.OnNotConnected = [this](TDialUp&, int code, const std::string& message) {
    dialing_.DialUpNotConnected(code, message);
  };
  dialup_.OnAsyncEvent = [this](TDialUp&, int state, int error, const std::string& text) {
    dialing_.DialUpAsyncEvent(state, error, text);
  };
  dialup_.OnError = [this](TDialUp&, int code, const std::string& message) {
    dialing_.DialUpError(code, message);
  };
}

// Every command of the main window, its menus, hotkeys and schedules runs from here.
void Tmainform::BindCommands() {
  auto& c = commands_;
  c.Bind(Command::Dial, [this] { Dial1Click(); });
  c.Bind(Command::HangUp, [this] { HangUp1Click(); });
  c.Bind(
      Command::KeepConnection, [this] { KeepConnection1Click(); },
      [this] { return settings_.CkbKeepConnection; });
  c.Bind(Command::Property, [this] { Property1Click(); });
  c.Bind(Command::New, [this] { New1Click(); });
  c.Bind(Command::Edit, [this] { Edit1Click(); });
  c.Bind(Command::Delete, [this] { Delete1Click(); });
  c.Bind(Command::SetDefault, [this] { SetDefault1Click(); });
  c.Bind(Command::Refresh, [this] { Refresh1Click(); });
  c.Bind(Command::HotKey, [this] { HotKey1Click(); });
  c.Bind(Command::ViewLogs, [this] { ViewLogs1Click(); });
  c.Bind(Command::Usage, [this] { usage_.Usage1Click(); });
  c.Bind(Command::CheckNewVersion, [this] { CheckNewVersion1Click(); });
  c.Bind(Command::Option, [this] { Option1Click(); });
  c.Bind(Command::Schedule, [this] { Schedule1Click(); });
  c.Bind(Command::Action, [this] { Action1Click(); });
  c.Bind(Command::Exit, [this] { Exit1Click(); });
  c.Bind(Command::ViewTime, [this] { ShowView(kViewTime); });
  c.Bind(Command::ViewSpeed, [this] { ShowView(kViewSpeed); });
  c.Bind(Command::ViewIP, [this] { ShowView(kViewIP); });
  c.Bind(Command::ViewExpense, [this] { ShowView(kViewExpense); });
  c.Bind(Command::ShowHideMainform, [this] { ShowHideMainform1Click(); });
  c.Bind(Command::CopyToClipboard, [this] { Copytoclipboard1Click(); });
  c.Bind(Command::About, [this] { About1Click(); });
  c.Bind(Command::HelpTopic, [this] { Context1Click(); });
  c.Bind(Command::HomePage, [this] { Homepage1Click(); });
  c.Bind(Command::SendComments, [this] { MailtoAuthor1Click(); });
  c.Bind(Command::Help, [this] { BtnHelpClick(); });
}

// The session's record is written before the line is said to be down.
// A session's end shows the figures its record was written with, not the last tick's.
void Tmainform::OnlineChanged(bool online) {
  tray_.SetIconIndex(online ? 1 : 0);
  if (online)
    return keep_alive_.LineUp();
  readouts_.ShowView(settings_.ViewMode, false);
  usage_.SessionRecorded();
}

void Tmainform::ShowView(int mode) {
  readouts_.ShowView(mode, dialing_.Online());
}

void Tmainform::FormCreate() {
  using Step = void (Tmainform::*)();
  static constexpr std::array<Step, 17> kSteps = {
      &Tmainform::DeleteDialLog,
      &Tmainform::ResetToDefaults,
      &Tmainform::LoadSettings,
      &Tmainform::WriteProgName,
      &Tmainform::ApplyWindowSettings,
      &Tmainform::WriteAutoDialSettings,
      &Tmainform::BuildAccountTable,
      &Tmainform::FillConnectionList,
      &Tmainform::LoadAndApplyProfile,
      &Tmainform::ApplyAlwaysOnTop,
      &Tmainform::RestoreKeepConnection,
      &Tmainform::LoadTimeRecords,
      &Tmainform::LoadActionsAndSchedules,
      &Tmainform::SayTakeOver,
      &Tmainform::ShowSavedView,
      &Tmainform::InstallHotKeys,
      &Tmainform::ConnectOnStartup,
  };
  for (Step step : kSteps)
    (this->*step)();
}

// ---- start-up steps ----

void Tmainform::DeleteDialLog() {
  log_.ClearAtStart();
}

void Tmainform::ResetToDefaults() {
  SetDefaultSettings(ports_.keyboard, settings_);
  connections_.Reset();
  tray_.Reset();
  exit_requested_ = false;
  keep_alive_.Reset();
  session_.Reset();
  actions_.ClearActions();
  dialing_.Reset();
  schedules_.ClearSchedules();
}

void Tmainform::LoadSettings() {
  problems_.Say(::LoadSettings(ports_.registry, ports_.keyboard, settings_,
                               connections_.LastSelect(),
                               ports_.files.Portable() ? ports_.files.ExeDir() + kPortableFile
                                                       : std::string(kSettingsPlace)));
  options_.TakeLoadedPassword();
}

// A portable copy learns here whether its medium takes writes: ProgName is the first.
void Tmainform::WriteProgName() {
  if (!::WriteProgName(ports_.registry, ports_.files.ExePath()) && ports_.files.Portable()) {
    problems_.Say({"Tarvolin cannot write its settings file " + ports_.files.ExeDir() +
                   kPortableFile +
                   " (is it on a read-only medium?): changes to the options "
                   "made in this run are not kept."});
  }
}

void Tmainform::ApplyWindowSettings() {
  view_.ApplyWindowSettings(kAppTitle, kAppNameAndVersion, settings_.Left, settings_.Top);
}

void Tmainform::WriteAutoDialSettings() {
  connections_.WriteAutoDialSettings();
}

void Tmainform::BuildAccountTable() {
  connections_.Build(true);
}

void Tmainform::FillConnectionList() {
  connections_.Fill();
}

void Tmainform::LoadAndApplyProfile() {
  connections_.LoadCurrentProfile();
}

void Tmainform::RestoreKeepConnection() {
  dialing_.SetKeepConnection(settings_.CkbKeepConnection);
}

void Tmainform::LoadTimeRecords() {
  session_.LoadTimeRecords();
}

void Tmainform::ShowSavedView() {
  ShowView(settings_.ViewMode);
}

void Tmainform::InstallHotKeys() {
  hotkeys_.InstallHotKeys(view_.Handle());
}

void Tmainform::ConnectOnStartup() {
  dialing_.ConnectOnStartup(args_);
}

void Tmainform::ApplyAlwaysOnTop() {
  options_.ApplyAlwaysOnTop();
}

void Tmainform::LoadActionsAndSchedules() {
  actions_.LoadActions();
  schedules_.LoadSchedules();
}

// A setup that took over an earlier installation's data left a record of it, said once.
void Tmainform::SayTakeOver() {
  if (const auto record = TakeTakeOverRecord(ports_.registry))
    ports_.prompts.Information(TakeOverNotice(*record, connections_.NumbersOtherThanPhonebook()));
}

// ---- shutdown ----

bool Tmainform::FormClose() {
  if (!exit_requested_) {
    tray_.HideToTray();
    return false;
  }
  using Step = void (Tmainform::*)();
  static constexpr std::array<Step, 8> kSteps = {
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
  dialing_.HangUpForExit();
}

void Tmainform::RemoveHotKeys() {
  hotkeys_.RemoveHotKeys();
}

void Tmainform::SaveSettings() {
  int left = settings_.Left;
  int top = settings_.Top;
  view_.WindowPosition(left, top);
  const int selected = SelectedAccount(connections_.Table());
  if (selected >= 0)
    connections_.LastSelect() = connections_.Table()[selected].EntryName;
  ::SaveSettings(ports_.registry, ports_.keyboard, settings_, left, top,
                 selected >= 0 ? &connections_.LastSelect() : nullptr);
}

void Tmainform::ApplyRunOnStartup() {
  problems_.Say(
      ::ApplyRunOnStartup(ports_.registry, settings_.CkbRunOnStartup, ports_.files.ExePath()));
}

void Tmainform::SaveSessionRecord() {
  session_.SaveSessionRecord("the program was closed");
}

void Tmainform::SaveActionsAndSchedules() {
  actions_.SaveActions();
  schedules_.SaveSchedules();
}

void Tmainform::RenewAutoDialSettings() {
  if (settings_.CkbAutoDial)
    connections_.WriteAutoDialSettings();
}

// Steps whose features join shutdown as they arrive.
void Tmainform::WritePasswordAgain() {
  password_.WritePasswordAgain(settings_);
}

// ---- commands and window events ----

void Tmainform::UserMessage(intptr_t lparam) {
  if (lparam == 0) {
    tray_.ShowMainWindow();
  } else if (lparam == 1) {
    dialing_.DialRequest();
  }
}

// One line at a time: a request for another entry while a line is up or dialing is
// declined, and leaves the selection alone.
DialRequestAnswer Tmainform::DialEntryRequest(const std::string& entry) {
  // An entry made moments ago may not have reached the list yet.
  if (!connections_.HasEntry(entry))
    Refresh1Click();
  if (!connections_.HasEntry(entry))
    return kDialRequestUnknown;
  if (dialing_.Online() || dialing_.Dialing()) {
    if (dialing_.LastDialedEntry() != entry)
      return kDialRequestDeclined;
    return dialing_.Online() ? kDialRequestOnline : kDialRequestDialing;
  }
  CnListSelectItem(entry);
  UserMessage(1);
  return dialing_.Dialing() ? kDialRequestDialing : kDialRequestDeclined;
}

void Tmainform::ControlClick(int id) {
  if (const auto command = CommandOfId(id))
    commands_.Run(*command);
}

void Tmainform::Dial1Click() {
  dialing_.Dial1Click();
}

void Tmainform::HangUp1Click() {
  dialing_.HangUp1Click();
}

void Tmainform::KeepConnection1Click() {
  dialing_.KeepConnection1Click();
}

void Tmainform::Property1Click() {
  connections_.Property();
}

void Tmainform::New1Click() {
  connections_.New();
}

void Tmainform::Edit1Click() {
  connections_.Edit();
}

void Tmainform::Delete1Click() {
  connections_.Delete();
}

void Tmainform::SetDefault1Click() {
  connections_.SetDefault();
}

void Tmainform::Refresh1Click() {
  connections_.Refresh();
}

// Kept at once, as the options are: a program that ends without its exit keeps them too.
void Tmainform::HotKey1Click() {
  if (hotkeys_.HotKey1Click(view_.Handle()))
    SaveSettings();
}

void Tmainform::ViewLogs1Click() {
  log_.ViewLogs(view_.Handle());
}

void Tmainform::CheckNewVersion1Click() {
  versions_.CheckNewVersion1Click();
}

void Tmainform::Option1Click() {
  if (options_.Option1Click())
    SaveSettings();
}

void Tmainform::Schedule1Click() {
  schedules_.Schedule1Click();
}

void Tmainform::Action1Click() {
  actions_.Action1Click();
}

// A version check in progress would keep the program waiting for its server, and speak
// after the window is gone.
void Tmainform::Exit1Click() {
  versions_.Cancel();
  exit_requested_ = true;
  view_.Close();
}

void Tmainform::CnListSelectItem(const std::string& caption) {
  connections_.SelectItem(caption);
  ShowView(settings_.ViewMode);
}

void Tmainform::CnListDblClick() {
  commands_.Run(Command::Property);
}

void Tmainform::ShowHideMainform1Click() {
  tray_.ShowHideMainform1Click();
}

void Tmainform::CopyPopPopup(int tag) {
  readouts_.CopyPopPopup(tag);
}

void Tmainform::Copytoclipboard1Click() {
  readouts_.Copytoclipboard1Click();
}

void Tmainform::WMHotKey(int id) {
  hotkeys_.WMHotKey(id);
}

void Tmainform::CheckTimerTimer() {
  monitor_.CheckTimerTimer();
}

void Tmainform::SystemSuspending() {
  dialing_.Suspending();
}

// Echoes that went out before the sleep tell nothing about the line after it.
void Tmainform::SystemResumed() {
  keep_alive_.Reset();
  dialing_.Resumed();
}

void Tmainform::About1Click() {
  help_.About1Click();
}

void Tmainform::Context1Click() {
  help_.Context1Click();
}

void Tmainform::Homepage1Click() {
  help_.Homepage1Click();
}

void Tmainform::MailtoAuthor1Click() {
  help_.MailtoAuthor1Click();
}

void Tmainform::BtnHelpClick() {
  help_.BtnHelpClick();
}
