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
constexpr UINT kMsgSignal = WM_APP + 2;
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

// An auto-reset event watched by the system's thread pool, which posts each setting to
// the host window; the post carries the signal's id, so one that arrives after the
// signal was destroyed is dropped.
class WinUiSignal : public UiSignal {
 public:
  WinUiSignal(WinUiLoop& loop, HWND host, UINT_PTR id)
      : loop_(loop), host_(host), id_(id), event_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
    // Without the watch the signal never arrives; its users have a slower way as well.
    if (event_ && !RegisterWaitForSingleObject(&wait_, event_, Arrived, this, INFINITE,
                                               WT_EXECUTEINWAITTHREAD)) {
      wait_ = nullptr;
    }
  }
  ~WinUiSignal() override;

  void* Handle() const override { return event_; }

  void Deliver() {
    if (OnSignal)
      OnSignal();
  }

 private:
  static VOID CALLBACK Arrived(PVOID self, BOOLEAN) {
    auto* signal = static_cast<WinUiSignal*>(self);
    PostMessageA(signal->host_, kMsgSignal, signal->id_, 0);
  }

  WinUiLoop& loop_;
  HWND host_;
  UINT_PTR id_;
  HANDLE event_;
  HANDLE wait_ = nullptr;
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

  std::unique_ptr<UiSignal> CreateSignal() override {
    UINT_PTR id = next_id_++;
    auto signal = std::make_unique<WinUiSignal>(*this, host_, id);
    signals_[id] = signal.get();
    return signal;
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

  void Forget(UINT_PTR id) {
    timers_.erase(id);
    signals_.erase(id);
  }

 private:
  static LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<WinUiLoop*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && msg == kMsgSignal) {
      self->DeliverSignal(wparam);
      return 0;
    }
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

  void DeliverSignal(UINT_PTR id) {
    const auto it = signals_.find(id);
    if (it == signals_.end())
      return;
    try {
      it->second->Deliver();
    } catch (const std::exception& e) {
      MessageBoxA(nullptr, e.what(), "Error", MB_OK | MB_ICONERROR);
    }
  }

  HWND host_ = nullptr;
  UINT_PTR next_id_ = 1;  // shared by timers and signals
  std::map<UINT_PTR, WinUiTimer*> timers_;
  std::map<UINT_PTR, WinUiSignal*> signals_;
};

// Waits for a callback under way, so none runs on a signal that is gone.
WinUiSignal::~WinUiSignal() {
  if (wait_)
    UnregisterWaitEx(wait_, INVALID_HANDLE_VALUE);
  if (event_)
    CloseHandle(event_);
  loop_.Forget(id_);
}

WinUiTimer::~WinUiTimer() {
  KillTimer(host_, id_);
  loop_.Forget(id_);
}

}  // namespace

std::unique_ptr<UiLoop> MakeWinUiLoop() {
  return std::make_unique<WinUiLoop>();
}
