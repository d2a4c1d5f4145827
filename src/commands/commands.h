// The program's commands: what each button, menu item, hotkey and schedule runs, and
// whether it can run. Every caller goes through this one table, so a hotkey or a
// schedule does exactly what the user's click does.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>

enum class Command {
  About,
  HelpTopic,
  HomePage,
  SendComments,
  CheckNewVersion,
  Dial,
  HangUp,
  Property,
  KeepConnection,
  New,
  Edit,
  Delete,
  SetDefault,
  Schedule,
  Action,
  HotKey,
  Option,
  ViewLogs,
  Refresh,
  Exit,
  ShowHideMainform,
  CopyToClipboard,
  Help,
  ViewSpeed,
  ViewTime,
  ViewExpense,
  ViewIP,
  Usage,
};
constexpr size_t kCommandCount = static_cast<size_t>(Command::Usage) + 1;

// The command a button or menu item of the main window runs (ids of commands/command_ids.h);
// nullopt for an id that runs none.
std::optional<Command> CommandOfId(int id);

class CommandTable {
 public:
  using Handler = std::function<void()>;
  using Query = std::function<bool()>;

  // A command without a handler is shown greyed and does nothing. `checked`, when given,
  // tells whether its menu items carry a check mark.
  void Bind(Command command, Handler run, Query checked = nullptr);

  // Runs the command's handler; false when it has none.
  bool Run(Command command) const;
  bool Enabled(Command command) const;
  bool Checked(Command command) const;
  // Whether a command has not returned yet. Ticks that arrive meanwhile come from the
  // message loop of a dialog, a message box or a wait that the command is in, so this is
  // how the program knows that one of its dialogs is open.
  bool Running() const { return running_ > 0; }

 private:
  struct Entry {
    Handler run;
    Query checked;
  };
  const Entry& At(Command command) const { return entries_[static_cast<size_t>(command)]; }

  std::array<Entry, kCommandCount> entries_;
  mutable int running_ = 0;  // commands in progress, one inside another's dialog included
};
