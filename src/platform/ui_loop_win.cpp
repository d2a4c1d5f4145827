// Window timers and message pumping on the user-interface thread.
//
// Timers live on one hidden message-only window. Any thread may enable or disable a
// timer: the change is posted to that window and applied on the UI thread, where
// SetTimer belongs. A change that asks for a new countdown says so in a flag of its
// own: by the time the post arrives the timer may have been disabled and enabled
// again, and its enabled state alone no longer tells. The system never fires a window
// timer sooner than about 10 ms, so a timer with a shorter interval is already due when
// its countdown starts: its first tick runs right then, which is what makes the dial
// notifications prompt.
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
    if (interval_.exchange(milliseconds) != milliseconds && enabled_)
      Restart();
  }

  void SetEnabled(bool enabled) override {
    if (enabled_.exchange(enabled) == enabled)
      return;
    if (enabled)
      Restart();
    else
      PostMessageA(host_, kMsgApplyTimer, id_, 0);
  }

  bool Enabled() const override { return enabled_; }

  // UI thread: brings the window timer in line with the wanted state. SetTimer on a
  // running window timer starts its countdown over, so it is called only when a restart
  // was asked for or the window timer is not running yet.
  void Apply() {
    if (!enabled_) {
      KillTimer(host_, id_);
      running_ = false;
      return;
    }
    if (!restart_.exchange(false) && running_)
      return;
    SetTimer(host_, id_, interval_, nullptr);
    running_ = true;
    if (interval_ < USER_TIMER_MINIMUM)
      Tick();
  }

  void Tick() {
    if (enabled_ && OnTimer)
      OnTimer();
  }

 private:
  void Restart() {
    restart_ = true;
    PostMessageA(host_, kMsgApplyTimer, id_, 0);
  }

  WinUiLoop& loop_;
  HWND host_;
  UINT_PTR id_;
  std::atomic<unsigned> interval_{1000};
  std::atomic<bool> enabled_{false};
  std::atomic<bool> restart_{false};
  bool running_ = false;  // the window timer's state, UI thread only
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
