// The command table, and which control or menu item runs which command.
#include "commands/commands.h"

#include <utility>

#include "commands/command_ids.h"

std::optional<Command> CommandOfId(int id) {
  struct Binding {
    int Id;
    Command Runs;
  };
  static constexpr Binding kBindings[] = {
      {IDM_ABOUT1, Command::About},
      {IDM_CONTEXT1, Command::HelpTopic},
      {IDM_HOMEPAGE1, Command::HomePage},
      {IDM_MAILTOAUTHOR1, Command::SendComments},
      {IDM_CHECKNEWVERSION1, Command::CheckNewVersion},
      {IDC_BTNDIAL, Command::Dial},
      {IDM_DIAL1, Command::Dial},
      {IDC_BTNHANGUP, Command::HangUp},
      {IDM_HANGUP1, Command::HangUp},
      {IDC_BTNPROPERTY, Command::Property},
      {IDM_PROPERTY1, Command::Property},
      {IDM_PROPERTY2, Command::Property},
      {IDC_BTNKEEP, Command::KeepConnection},
      {IDM_KEEPCONNECTION1, Command::KeepConnection},
      {IDM_KEEPCONNECTION2, Command::KeepConnection},
      {IDC_BTNNEW, Command::New},
      {IDM_NEW1, Command::New},
      {IDM_NEW2, Command::New},
      {IDC_BTNEDIT, Command::Edit},
      {IDM_EDIT1, Command::Edit},
      {IDM_EDIT2, Command::Edit},
      {IDC_BTNDELETE, Command::Delete},
      {IDM_DELETE1, Command::Delete},
      {IDM_DELETE2, Command::Delete},
      {IDC_BTNDEFAULT, Command::SetDefault},
      {IDM_SETDEFAULT1, Command::SetDefault},
      {IDM_DEFAULT1, Command::SetDefault},
      {IDC_BTNSCHEDULE, Command::Schedule},
      {IDM_SCHEDULE1, Command::Schedule},
      {IDC_BTNACTION, Command::Action},
      {IDM_ACTION1, Command::Action},
      {IDC_BTNHOTKEY, Command::HotKey},
      {IDM_HOTKEY1, Command::HotKey},
      {IDC_BTNOPTION, Command::Option},
      {IDM_OPTION1, Command::Option},
      {IDM_VIEWLOGS1, Command::ViewLogs},
      {IDM_USAGE1, Command::Usage},
      {IDM_USAGE2, Command::Usage},
      {IDM_USAGE3, Command::Usage},
      {IDM_REFRESH1, Command::Refresh},
      {IDM_EXIT1, Command::Exit},
      {IDM_SHOWHIDEMAINFORM1, Command::ShowHideMainform},
      {IDM_ABOUT2, Command::About},
      {IDM_DIAL3, Command::Dial},
      {IDM_HANGUP3, Command::HangUp},
      {IDM_KEEPCONNECTION3, Command::KeepConnection},
      {IDM_SCHEDULE2, Command::Schedule},
      {IDM_ACTION2, Command::Action},
      {IDM_HOTKEY2, Command::HotKey},
      {IDM_OPTION3, Command::Option},
      {IDM_EXIT2, Command::Exit},
      {IDM_COPYTOCLIPBOARD1, Command::CopyToClipboard},
      {IDC_BTNHELP, Command::Help},
      {IDM_HELP3, Command::HelpTopic},
      {IDM_HOMEPAGE2, Command::HomePage},
      {IDM_SENDEMAILTOAUTHOR1, Command::SendComments},
      {IDM_CHECKNEWVERSION2, Command::CheckNewVersion},
      {IDM_ABOUT3, Command::About},
      {IDC_BTNVIEWSPEED, Command::ViewSpeed},
      {IDC_BTNVIEWTIME, Command::ViewTime},
      {IDC_BTNVIEWEXPENSE, Command::ViewExpense},
      {IDC_BTNVIEWIP, Command::ViewIP},
  };
  for (const auto& binding : kBindings) {
    if (binding.Id == id)
      return binding.Runs;
  }
  return std::nullopt;
}

void CommandTable::Bind(Command command, Handler run, Query checked) {
  entries_[static_cast<size_t>(command)] = {std::move(run), std::move(checked)};
}

bool CommandTable::Run(Command command) const {
  const Entry& entry = At(command);
  if (!entry.run)
    return false;
  struct Counted {
    int& running;
    explicit Counted(int& r) : running(r) { ++running; }
    ~Counted() { --running; }
  } counted(running_);
  entry.run();
  return true;
}

bool CommandTable::Enabled(Command command) const {
  return static_cast<bool>(At(command).run);
}

bool CommandTable::Checked(Command command) const {
  const Entry& entry = At(command);
  return entry.checked && entry.checked();
}
