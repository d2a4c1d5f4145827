// Port: the desktop shared with other programs.
#pragma once

#include <string>

class Desktop {
 public:
  virtual ~Desktop() = default;
  // Tells every top-level window that the named area of the system's settings changed,
  // and waits until they have seen it.
  virtual void BroadcastSettingChange(const std::string& area) = 0;
  // Replaces what the clipboard holds with the text; false when the clipboard is busy.
  virtual bool SetClipboardText(const std::string& text) = 0;
};
