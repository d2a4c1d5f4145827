// Hotkeys held by the system for a window.
#include <windows.h>

#include "platform/win_ports.h"

namespace {

class WinHotKeys : public HotKeys {
 public:
  bool Register(void* window, int id, unsigned modifiers, unsigned key) override {
    return RegisterHotKey(static_cast<HWND>(window), id, modifiers, key);
  }
  void Unregister(void* window, int id) override {
    UnregisterHotKey(static_cast<HWND>(window), id);
  }
};

}  // namespace

std::unique_ptr<HotKeys> MakeWinHotKeys() {
  return std::make_unique<WinHotKeys>();
}
