// What the controller asks of the main window. The Win32 window implements it; tests
// use a fake that records what it was told.
#pragma once

#include <string>

#include "actions/actions.h"
#include "log/connection_log.h"
#include "dialing/dialing_controller.h"
#include "dialing/options_controller.h"
#include "profiles/connection_list.h"
#include "schedule/schedule_view.h"
#include "hotkeys/hotkeys.h"
#include "display/histogram.h"
#include "display/help.h"
#include "display/readouts.h"
#include "display/tray.h"
#include "accounting/usage_report.h"

class MainView : public StatusLine,
                 public ConnectionListView,
                 public DialingView,
                 public OptionsView,
                 public ReadoutsView,
                 public HistogramView,
                 public TrayWindow,
                 public HotKeyDialogView,
                 public ScheduleView,
                 public ActionsView,
                 public HelpView,
                 public UsageView {
 public:
  // The window's caption, the painted caption label and the window's position.
  virtual void ApplyWindowSettings(const std::string& title, const std::string& caption_label,
                                   int left, int top) = 0;
  // The window's current position on the screen; left alone when it has none.
  virtual void WindowPosition(int& left, int& top) = 0;
  // Asks the window to close; the controller's FormClose decides what that means.
  virtual void Close() = 0;
  // The window's handle as the platform knows it, for dialogs and the shell.
  virtual void* Handle() = 0;
};
