// The main window's place: shown on the desktop or hidden in the tray, and the tray icon
// that tells whether the line is up.
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
  // The icon in the notification area: image 0 offline, 1 online, and its hint.
  virtual void ShowTrayIcon(int icon_index, const std::string& hint) = 0;
  // A balloon over the tray icon.
  virtual void ShowTrayBalloon(const std::string& text) = 0;
};

// The caption of the tray menu's show/hide item always names what choosing it will do.
class Tray {
 public:
  explicit Tray(TrayWindow& window) : window_(window) {}

  // As at start: the window shown, the offline icon, the program's name as hint.
  void Reset();
  void HideToTray();
  // The tray icon's click and the tray menu's show/hide item: hides a shown window, shows
  // a hidden one.
  void ShowHideMainform1Click();
  // Brings the window back from the tray when it is there, then to the front.
  void ShowMainWindow();
  bool HiddenToTray() const { return hidden_; }
  const std::string& ShowHideCaption() const { return show_hide_caption_; }

  // 1 while online, 0 while offline.
  void SetIconIndex(int index);
  // The icon's hint names the connection at hand and whether the line is up.
  void UpdateTrayHint(const std::string& entry, bool online);
  const std::string& Hint() const { return hint_; }
  // Says `text` over the tray icon when the window is hidden; a shown window has it in its
  // status line.
  void Warn(const std::string& text);
  // Says `text` over the tray icon, the window shown or not.
  void Notice(const std::string& text) { window_.ShowTrayBalloon(text); }
  int IconIndex() const { return icon_index_; }

 private:
  void ShowFromTray();
  void ShowIcon();

  TrayWindow& window_;
  bool hidden_ = false;
  std::string show_hide_caption_;
  std::string hint_;
  int icon_index_ = 0;
};
