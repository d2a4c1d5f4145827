// The main window's place: shown on the desktop or hidden in the tray.
#pragma once

#include <string>

// What the tray asks of the main window.
class TrayWindow {
 public:
  virtual ~TrayWindow() = default;
  // Hides the window and its taskbar button; the program goes on running.
  virtual void HideMainForm() = 0;
  virtual void ShowMainForm() = 0;
  // Restores the window from minimised state and brings it to the front.
  virtual void BringToFront() = 0;
};

class Tray {
 public:
  explicit Tray(TrayWindow& window) : window_(window) {}

  // The window is shown, as at start.
  void Reset() { hidden_ = false; }
  void HideToTray();
  // Brings the window back from the tray when it is there, then to the front.
  void ShowMainWindow();
  bool HiddenToTray() const { return hidden_; }
  // The icon's hint names the connection at hand and whether the line is up.
  void UpdateTrayHint(const std::string& entry, bool online);
  const std::string& Hint() const { return hint_; }

 private:
  TrayWindow& window_;
  bool hidden_ = false;
  std::string hint_;
};
