// Port: the desktop shared with other programs.
#pragma once

#include <string>
#include <vector>

struct TopLevelWindow {
  void* handle;
  std::string caption;
};

class Desktop {
 public:
  virtual ~Desktop() = default;
  // Tells every top-level window that the named area of the system's settings changed,
  // and waits until they have seen it.
  virtual void BroadcastSettingChange(const std::string& area) = 0;
  // Replaces what the clipboard holds with the text; false when the clipboard is busy.
  virtual bool SetClipboardText(const std::string& text) = 0;
  // Every top-level window of the desktop, topmost first, hidden ones and this program's
  // own included, with the first 254 characters of its caption.
  virtual std::vector<TopLevelWindow> TopLevelWindows() = 0;
  // Asks the window to close, without waiting for it to do so.
  virtual void PostClose(void* window) = 0;
};
