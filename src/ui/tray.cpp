// The main window's place: desktop or tray.
#include "ui/tray.h"

void Tray::HideToTray() {
  window_.HideMainForm();
  hidden_ = true;
}

void Tray::ShowMainWindow() {
  if (hidden_) {
    window_.ShowMainForm();
    hidden_ = false;
  }
  window_.BringToFront();
}

void Tray::UpdateTrayHint(const std::string& entry, bool online) {
  hint_ = "Tarvolin [" + entry + "] - " + (online ? "Online" : "Offline");
}
