// The main window's place: desktop or tray.
#include "display/tray.h"

void Tray::Reset() {
  hidden_ = false;
  show_hide_caption_ = "&Hide Mainform";
  hint_ = "Tarvolin";
  icon_index_ = 0;
  ShowIcon();
}

void Tray::HideToTray() {
  window_.HideMainForm();
  show_hide_caption_ = "&Show MainForm";
  hidden_ = true;
}

void Tray::ShowHideMainform1Click() {
  if (hidden_)
    ShowFromTray();
  else
    HideToTray();
}

void Tray::ShowMainWindow() {
  if (hidden_)
    ShowFromTray();
  show_hide_caption_ = "&Hide MainForm";
  window_.BringToFront();
}

void Tray::ShowFromTray() {
  window_.ShowMainForm();
  show_hide_caption_ = "&Hide MainForm";
  hidden_ = false;
}

void Tray::SetIconIndex(int index) {
  if (index == icon_index_)
    return;
  icon_index_ = index;
  ShowIcon();
}

// The hint is set every second; the shell hears only of a change.
void Tray::UpdateTrayHint(const std::string& entry, bool online) {
  const std::string hint = "Tarvolin [" + entry + "] - " + (online ? "Online" : "Offline");
  if (hint == hint_)
    return;
  hint_ = hint;
  ShowIcon();
}

void Tray::ShowIcon() {
  window_.ShowTrayIcon(icon_index_, hint_);
}

void Tray::Warn(const std::string& text) {
  if (hidden_)
    window_.ShowTrayBalloon(text);
}
