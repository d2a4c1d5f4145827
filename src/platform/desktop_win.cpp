// The desktop shared with other programs.
#include <windows.h>

#include <cstring>

#include "platform/win_ports.h"

namespace {

class WinDesktop : public Desktop {
 public:
  void BroadcastSettingChange(const std::string& area) override {
    // Sent with a time-out, so one hung program cannot freeze this one.
    SendMessageTimeoutA(HWND_BROADCAST, WM_WININICHANGE, 0, reinterpret_cast<LPARAM>(area.c_str()),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
  }

  bool SetClipboardText(const std::string& text) override {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (!memory)
      return false;
    memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    // The clipboard takes the memory only when it accepts the data.
    bool copied = false;
    if (OpenClipboard(nullptr)) {
      copied = EmptyClipboard() && SetClipboardData(CF_TEXT, memory) != nullptr;
      CloseClipboard();
    }
    if (!copied)
      GlobalFree(memory);
    return copied;
  }

  std::vector<TopLevelWindow> TopLevelWindows() override {
    std::vector<TopLevelWindow> windows;
    // The Z order from the topmost window down; GetTopWindow(nullptr) is the first of the
    // desktop's children, as GW_HWNDFIRST of any top-level window is.
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
      char caption[255] = {};
      const int length = GetWindowTextA(window, caption, sizeof(caption));
      windows.push_back({window, std::string(caption, length > 0 ? length : 0)});
    }
    return windows;
  }

  void PostClose(void* window) override { PostMessageA(static_cast<HWND>(window), WM_CLOSE, 0, 0); }
};

}  // namespace

std::unique_ptr<Desktop> MakeWinDesktop() {
  return std::make_unique<WinDesktop>();
}
