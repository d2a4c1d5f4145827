// What the controller asks of the main window. The Win32 window implements it; tests
// use a fake that records what it was told.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ConnectionRow {
  std::string EntryName;
  std::string UserName;
  bool Selected = false;
  bool IsDefault = false;
};

class MainView {
 public:
  virtual ~MainView() = default;
  // The window's caption, the painted caption label and the window's position.
  virtual void ApplyWindowSettings(const std::string& title, const std::string& caption_label,
                                   int left, int top) = 0;
  // Colours are 0x00BBGGRR.
  virtual void SetStatus(const std::string& text, uint32_t color) = 0;
  virtual void SetOnlineLabel(const std::string& text, uint32_t color) = 0;
  // The connection list: the selected row carries the selection mark, the default
  // connection the default mark.
  virtual void ShowConnections(const std::vector<ConnectionRow>& rows) = 0;
  // Moves the selection mark to the row at `index`.
  virtual void MarkSelectedConnection(int index) = 0;
  // The Keep button's down state and the check marks of the keep-connection menu items.
  virtual void ShowKeepConnection(bool on) = 0;
  // The window's current position on the screen; left alone when it has none.
  virtual void WindowPosition(int& left, int& top) = 0;
  // Hides the window and its taskbar button; the program goes on running.
  virtual void HideMainForm() = 0;
  virtual void ShowMainForm() = 0;
  // Restores the window from minimised state and brings it to the front.
  virtual void BringToFront() = 0;
  // Asks the window to close; the controller's FormClose decides what that means.
  virtual void Close() = 0;
  // The window's handle as the platform knows it, for dialogs and the shell.
  virtual void* Handle() = 0;
};
