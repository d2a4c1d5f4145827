// The Options command: the dialog over the settings, and what its OK changes at once.
#pragma once

#include "dialing/dialing_controller.h"
#include "ports/main_ports.h"
#include "dialup/dialup.h"
#include "profiles/connection_list.h"
#include "settings/app_settings.h"
#include "settings/options_model.h"

// What the options ask of the main window.
class OptionsView {
 public:
  virtual ~OptionsView() = default;
  // Shows the Options dialog modal over the main window, on `form`'s controls, which the
  // user's edits change; true when the user chose OK.
  virtual bool ShowOptions(TOptionForm& form) = 0;
  // The main window stays above other windows, or no longer; a window that already does
  // as asked is left alone.
  virtual void SetAlwaysOnTop(bool on) = 0;
};

class OptionsController {
 public:
  OptionsController(const MainPorts& ports, AppSettings& settings, TDialUp& dialup,
                    DialingController& dialing, ConnectionList& connections, OptionsView& view);

  // After the settings are loaded at start: the next OK stores the password as loaded.
  void TakeLoadedPassword();
  // Shows the settings in the dialog. On OK stores every control into the settings,
  // applies what takes effect at once and returns true, for the caller to save them;
  // Cancel changes no setting.
  bool Option1Click();
  // The main window stays on top as CkbAlwaysOnTop says.
  void ApplyAlwaysOnTop();

 private:
  // `keep_shown`: the keep-connection state the Keep button showed before the OK.
  void ApplyOptions(bool keep_shown);
  void CheckMinimumSpeed();

  AppSettings& settings_;
  TDialUp& dialup_;
  DialingController& dialing_;
  ConnectionList& connections_;
  OptionsView& view_;
  TOptionForm form_;
};
