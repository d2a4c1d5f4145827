// The user's actions as the program keeps them: the table, its file, running them at the
// points of a connection's life and the dialogs that edit them.
#pragma once

#include "actions/action_dialog_model.h"
#include "actions/action_runner.h"
#include "actions/action_store.h"
#include "log/connection_log.h"
#include "ports/main_ports.h"
#include "platform/problem_report.h"
#include "settings/app_settings.h"

// What the actions ask of the main window.
class ActionsView {
 public:
  virtual ~ActionsView() = default;
  // Shows the action list over `model` until the user closes it; true for OK.
  virtual bool ShowActionList(ActionListModel& model) = 0;
  // The main window, owner of anything the shell shows for an action.
  virtual void* Handle() = 0;
};

class Actions {
 public:
  Actions(const MainPorts& ports, ConnectionLog& log, AppSettings& settings, ActionsView& view,
          ProblemReport& problems);

  // Every slot free, as at start.
  void ClearActions();
  // Reads Actions.ini into the table; what is wrong with it is said once per run.
  void LoadActions();
  // Exit: writes the table to Actions.ini unless the file could not be read; a failure is
  // said in an error box.
  void SaveActions();
  // Runs the actions of `point` (see ActionRunner::PerformActions).
  void PerformActions(PerformAt point);
  // The list dialog over the file's actions, read afresh; its OK keeps the changes and
  // "Enable all actions", and saves them, over a file that could not be read only when the
  // user agrees.
  void Action1Click();

  const ActionTable& Table() const { return table_; }

 private:
  void WriteActions();

  Prompts& prompts_;
  AppSettings& settings_;
  ActionsView& view_;
  ProblemReport& problems_;
  ActionStore store_;
  ActionRunner runner_;
  ActionTable table_;
  ActionFormFields form_fields_;
};
