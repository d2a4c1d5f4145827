// Window timers and message pumping on the user-interface thread.
//
// Timers live on one hidden message-only window. Any thread may enable or disable a
// timer: the change is posted to that window and applied on the UI thread, where
// SetTimer belongs. The system never fires a window timer sooner than about 10 ms, so
// a timer with a shorter interval is already due when its change is applied: its first
// tick runs right then, which is what makes the dial notifications prompt.
#include <windows.h>

#include <atomic>
#include <map>
#include <stdexcept>

#include "platform/win_ports.h"

namespace {

constexpr UINT kMsgApplyTimer = WM_APP + 1;
constexpr const char* kHostClass = "TarvolinUiLoopHost";

class WinUiLoop;

class WinUiTimer : public UiTimer {
 public:
  WinUiTimer(WinUiLoop& loop, HWND host, UINT_PTR id) : loop_(loop), host_(host), id_(id) {}
  ~WinUiTimer() override;

  void SetInterval(unsigned milliseconds) override {
    interval_ = milliseconds;
    if (enabled_)
      PostMessageA(host_, kMsgApplyTimer, id_, 0);
  }

  void SetEnabled(bool enabled) override {
    enabled_ = enabled;
    PostMessageA(host_, kMsgApplyTimer, id_, 0);
  }

  bool Enabled() const override { return enabled_; }

  // UI thread: brings the window timer in line with the wanted state.
  void Apply() {
    if (!enabled_) {
      KillTimer(host_, id_);
      return;
    }
    SetTimer(host_, id_, interval_, nullptr);
    if (interval_ < USER_TIMER_MINIMUM)
      Tick();
  }

  void Tick() {
    if (enabled_ && OnTimer)
      OnTimer();
  }

 private:
  WinUiLoop& loop_;
  HWND host_;
  UINT_PTR id_;
  std::atomic<unsigned> interval_{1000};
  std::atomic<bool> enabled_{false};
};

class WinUiLoop : public UiLoop {
 public:
  WinUiLoop() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kHostClass;
    RegisterClassA(&wc);  // fails harmlessly when a second loop registers it again
    host_ = CreateWindowExA(0, kHostClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                            nullptr);
    SetWindowLongPtrA(host_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }

  ~WinUiLoop() override { DestroyWindow(host_); }

  std::unique_ptr<UiTimer> CreateTimer() override {
    UINT_PTR id = next_id_++;
    auto timer = std::make_unique<WinUiTimer>(*this, host_, id);
    timers_[id] = timer.get();
    return timer;
  }

  void ProcessMessages() override {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the main loop
        return;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }

  void Forget(UINT_PTR id) { timers_.erase(id); }

 private:
  static LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<WinUiLoop*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && (msg == kMsgApplyTimer || msg == WM_TIMER)) {
      // A posted change may arrive after its timer was destroyed: look it up by id.
      auto it = self->timers_.find(wparam);
      if (it == self->timers_.end())
        return 0;
      try {
        if (msg == kMsgApplyTimer) {
          it->second->Apply();
        } else {
          it->second->Tick();
        }
      } catch (const std::exception& e) {
        // Nothing may unwind through the system's code: report and carry on.
        MessageBoxA(nullptr, e.what(), "Error", MB_OK | MB_ICONERROR);
      }
      return 0;
    }
    return DefWindowProcA(hwnd, msg, wparam, lparam);
  }

  HWND host_ = nullptr;
  UINT_PTR next_id_ = 1;
  std::map<UINT_PTR, WinUiTimer*> timers_;
};

WinUiTimer::~WinUiTimer() {
  KillTimer(host_, id_);
  loop_.Forget(id_);
}

}  // namespace

std::unique_ptr<UiLoop> MakeWinUiLoop() {
  return std::make_unique<WinUiLoop>();
}
