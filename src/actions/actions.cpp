// The user's actions: the table, its file, their running and their dialogs.
#include "actions/actions.h"

Actions::Actions(const MainPorts& ports, ConnectionLog& log, AppSettings& settings,
                 ActionsView& view, ProblemReport& problems)
    : prompts_(ports.prompts),
      settings_(settings),
      view_(view),
      problems_(problems),
      store_(ports.profiles, ports.files),
      runner_(ports.shell, ports.desktop, log, settings) {}

void Actions::ClearActions() {
  ::ClearActions(table_);
}

void Actions::LoadActions() {
  problems_.Say(store_.LoadActions(table_));
}

void Actions::SaveActions() {
  if (!store_.Unread())
    WriteActions();
}

void Actions::WriteActions() {
  std::string error;
  if (!store_.SaveActions(table_, error))
    prompts_.Error(error);
}

void Actions::PerformActions(PerformAt point) {
  runner_.PerformActions(table_, point, view_.Handle());
}

void Actions::Action1Click() {
  const bool enable_all = settings_.CkbEnableAllActions;
  LoadActions();
  ActionListModel model(table_, enable_all, form_fields_, runner_);
  if (!view_.ShowActionList(model))
    return;
  settings_.CkbEnableAllActions = model.EnableAll();
  table_ = model.Working();
  if (!store_.Unread() ||
      prompts_.AskYesNo("Confirm", store_.Path() +
                                       " could not be read. Replace it with the actions of "
                                       "this list?"))
    WriteActions();
}
