// Running the user's actions: programs and documents opened through the shell, windows
// closed by their caption.
#pragma once

#include <string>
#include <vector>

#include "actions/action_store.h"
#include "log/connection_log.h"
#include "platform/desktop.h"
#include "platform/shell.h"
#include "settings/app_settings.h"

// A WindowStatus outside 0 to 3 shows the window as "Normal" does.
ShowCommand ShowCommandOf(int window_status);

// Fire and forget: nothing is reported back, a program that cannot be opened and a window
// that will not close go unnoticed.
class ActionRunner {
 public:
  ActionRunner(Shell& shell, Desktop& desktop, ConnectionLog& log, const AppSettings& settings);

  // With CkbEnableAllActions on, runs every action of the table up to the first free slot
  // that has `point` among its points, in slot order, each after its line in the log.
  // `owner` is the window any message of the shell belongs to.
  void PerformActions(const ActionTable& table, PerformAt point, void* owner);
  // Runs the one action now, whatever its points and the settings, without a log line.
  // An ActionType other than Run / Start and Close window does nothing.
  void Perform(const ActionInfo& action, void* owner);
  // Posts a close request to every top-level window, hidden ones and this program's own
  // too, whose caption equals `text` or, with `containing`, contains it, letter case of
  // A-Z aside. An empty text closes nothing.
  void CloseWindows(const std::string& text, bool containing);
  // The captions of the top-level windows, each once (letter case counts), sorted
  // alphabetically; windows without a caption are left out.
  std::vector<std::string> WindowCaptions();

 private:
  Shell& shell_;
  Desktop& desktop_;
  ConnectionLog& log_;
  const AppSettings& settings_;
};
