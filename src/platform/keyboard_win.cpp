// The keyboard layout's key names, through the system's scan-code tables.
#include <windows.h>

#include "platform/win_ports.h"

namespace {

// Keys that share their scan code with a numeric-pad or left-hand key and are told apart
// by the extended-key flag; without it "Num /" would be named like "/" and Right Ctrl
// like Ctrl.
bool IsExtendedKey(int virtual_key) {
  switch (virtual_key) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_SNAPSHOT:
    case VK_INSERT:
    case VK_DELETE:
    case VK_LWIN:
    case VK_RWIN:
    case VK_APPS:
    case VK_DIVIDE:
    case VK_NUMLOCK:
    case VK_RCONTROL:
    case VK_RMENU:
      return true;
  }
  return false;
}

class WinKeyboard : public Keyboard {
 public:
  std::string KeyName(int virtual_key) override {
    if (virtual_key <= 0 || virtual_key > 0xFF)
      return "";
    UINT scan_code = MapVirtualKeyA(static_cast<UINT>(virtual_key), MAPVK_VK_TO_VSC);
    if (scan_code == 0)
      return "";
    LONG key_data = static_cast<LONG>(scan_code << 16);
    if (IsExtendedKey(virtual_key))
      key_data |= 1 << 24;
    char name[64] = {};
    int length = GetKeyNameTextA(key_data, name, sizeof(name));
    return std::string(name, length > 0 ? length : 0);
  }
};

}  // namespace

std::unique_ptr<Keyboard> MakeWinKeyboard() {
  return std::make_unique<WinKeyboard>();
}
