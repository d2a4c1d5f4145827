// What the rest of the program hears of the line; the main controller shows it in the tray.
#pragma once

#include <string>

class LineEvents {
 public:
  virtual ~LineEvents() = default;
  // The line came up or went down.
  virtual void OnlineChanged(bool online) = 0;
  // The line came up with CkbMinToTray on: the window goes to the tray.
  virtual void MinimizeToTray() = 0;
  // Something the user should hear of even with the window hidden.
  virtual void Warn(const std::string& text) = 0;
  // A notice over the tray icon, whether the window is shown or hidden.
  virtual void Notice(const std::string& text) = 0;
};
