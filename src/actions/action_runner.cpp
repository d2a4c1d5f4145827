// Running the user's actions through the shell and the desktop.
#include "actions/action_runner.h"

#include <algorithm>

#include "platform/text.h"

namespace {

bool CaptionMatches(const std::string& caption, const std::string& text, bool containing) {
  const std::string lower = AsciiLowerCase(caption);
  const std::string wanted = AsciiLowerCase(text);
  return containing ? lower.find(wanted) != std::string::npos : lower == wanted;
}

// Alphabetical as the user reads it: letter case counts only between otherwise equal texts.
bool Alphabetical(const std::string& a, const std::string& b) {
  const std::string lower_a = AsciiLowerCase(a);
  const std::string lower_b = AsciiLowerCase(b);
  return lower_a != lower_b ? lower_a < lower_b : a < b;
}

}  // namespace

ShowCommand ShowCommandOf(int window_status) {
  switch (window_status) {
    case 1:
      return ShowCommand::ShowMaximized;
    case 2:
      return ShowCommand::Minimize;
    case 3:
      return ShowCommand::Hide;
  }
  return ShowCommand::Show;
}

ActionRunner::ActionRunner(Shell& shell, Desktop& desktop, ConnectionLog& log,
                           const AppSettings& settings)
    : shell_(shell), desktop_(desktop), log_(log), settings_(settings) {}

void ActionRunner::PerformActions(const ActionTable& table, PerformAt point, void* owner) {
  if (!settings_.CkbEnableAllActions)
    return;
  for (const ActionInfo& action : table) {
    if (!action.InUse)
      break;
    if (!PerformsAt(action, point))
      continue;
    log_.WriteDialLog("Perform user defined action...", LogKind::Message);
    Perform(action, owner);
  }
}

void ActionRunner::Perform(const ActionInfo& action, void* owner) {
  if (action.ActionType == kRunStart) {
    shell_.OpenWith(action.FileName, action.CommandLine, action.Directory,
                    ShowCommandOf(action.WindowStatus), owner);
  } else if (action.ActionType == kCloseWindow) {
    CloseWindows(action.WindowText, action.CloseContainText);
  }
}

void ActionRunner::CloseWindows(const std::string& text, bool containing) {
  if (text.empty())
    return;
  for (const TopLevelWindow& window : desktop_.TopLevelWindows()) {
    if (!window.caption.empty() && CaptionMatches(window.caption, text, containing))
      desktop_.PostClose(window.handle);
  }
}

std::vector<std::string> ActionRunner::WindowCaptions() {
  std::vector<std::string> captions;
  for (const TopLevelWindow& window : desktop_.TopLevelWindows()) {
    if (!window.caption.empty())
      captions.push_back(window.caption);
  }
  std::ranges::sort(captions, Alphabetical);
  // Not ranges::unique: the fuzz build's clang 14 cannot compile it with libstdc++ 12.
  captions.erase(std::unique(captions.begin(), captions.end()), captions.end());
  return captions;
}
