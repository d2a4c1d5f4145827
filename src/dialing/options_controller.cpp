// The Options command.
#include "dialing/options_controller.h"

OptionsController::OptionsController(const MainPorts& ports, AppSettings& settings, TDialUp& dialup,
                                     DialingController& dialing, ConnectionList& connections,
                                     OptionsView& view)
    : settings_(settings),
      dialup_(dialup),
      dialing_(dialing),
      connections_(connections),
      view_(view),
      form_(ports.files, ports.sound, ports.prompts) {}

void OptionsController::TakeLoadedPassword() {
  form_.PendingPassword() = settings_.ConnPWD;
}

bool OptionsController::Option1Click() {
  form_.ShowSettings(settings_);
  if (!view_.ShowOptions(form_))
    return false;
  const bool keep_shown = settings_.CkbKeepConnection;
  form_.StoreSettings(settings_);
  ApplyOptions(keep_shown);
  return true;
}

void OptionsController::ApplyOptions(bool keep_shown) {
  dialing_.ApplyTimerIntervals();
  CheckMinimumSpeed();
  if (settings_.CkbKeepConnection != keep_shown)
    dialing_.SetKeepConnection(settings_.CkbKeepConnection);
  ApplyAlwaysOnTop();
  connections_.WriteAutoDialSettings();
}

// The line is measured afresh: the dialog may have stayed open for a while.
void OptionsController::CheckMinimumSpeed() {
  if (settings_.CkbMinSpeed && dialing_.Online() && dialup_.GetStatistics())
    dialing_.CheckMinimumSpeed();
}

void OptionsController::ApplyAlwaysOnTop() {
  view_.SetAlwaysOnTop(settings_.CkbAlwaysOnTop);
}
