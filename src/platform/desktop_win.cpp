// The desktop shared with other programs.
#include <windows.h>

#include "platform/win_ports.h"

namespace {

class WinDesktop : public Desktop {
 public:
  void BroadcastSettingChange(const std::string& area) override {
    // Sent with a time-out, so one hung program cannot freeze this one.
    SendMessageTimeoutA(HWND_BROADCAST, WM_WININICHANGE, 0, reinterpret_cast<LPARAM>(area.c_str()),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
  }
};

}  // namespace

std::unique_ptr<Desktop> MakeWinDesktop() {
  return std::make_unique<WinDesktop>();
}
