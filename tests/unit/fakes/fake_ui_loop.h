// A UI loop for tests: its timers run on a FakeClock and fire only inside ProcessMessages.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "fakes/fake_clock.h"
#include "platform/ui_loop.h"

// The thread that constructs the loop is its UI thread. A timer fires in ProcessMessages
// once its interval (at least 1 ms) has passed on the fake clock since it was started or
// last fired, and then again each interval, like a window timer. It starts when enabled
// from disabled, or when given a new interval while enabled. SetEnabled may be called
// from any thread. Timers must be destroyed before the loop.
//
// Fake time moves only in RunUntil and AdvanceTo, and there straight to the next timer
// due. Work other threads have in hand (a dial step on its way to the notification
// timer, say) could then land long after the fake time it belongs to, so before each
// move the loop waits, in real time, until every other thread is asleep or blocked.
class FakeUiLoop : public UiLoop {
 public:
  explicit FakeUiLoop(FakeClock& clock);

  std::unique_ptr<UiTimer> CreateTimer() override;
  // Its OnSignal runs in ProcessMessages 1 ms of fake time after SetEvent.
  std::unique_ptr<UiSignal> CreateSignal() override;
  // Sets the event behind a signal's Handle(), from any thread, as the system would; a
  // handle whose signal is gone is ignored, like a closed one.
  static void SetEvent(void* handle);
  // Fires the due timers in creation order. A tick may pump messages itself. Throws
  // std::logic_error off the UI thread, where a real loop could not pump.
  void ProcessMessages() override;

  // Pumps messages and lets fake time pass until `done` holds, which it checks before
  // each move of the clock. With no timer enabled the clock stands still and the loop
  // waits for other threads. Gives up after `limit` of real time; returns whether `done`
  // held.
  bool RunUntil(const std::function<bool()>& done,
                std::chrono::milliseconds limit = std::chrono::seconds(20));
  // Lets fake time pass up to `fake_ms`, pumping messages on the way, and fires what
  // falls due at that very time. Returns false when `limit` of real time ran out first.
  bool AdvanceTo(uint64_t fake_ms, std::chrono::milliseconds limit = std::chrono::seconds(20));
  bool OnUiThread() const { return std::this_thread::get_id() == ui_thread_; }
  // Lets a test see that work is waiting for the UI thread without running it.
  int EnabledTimers();

 private:
  class Timer;
  bool TakeTick(Timer* timer);
  bool Run(const std::function<bool()>& done, uint64_t horizon, std::chrono::milliseconds limit);
  // The fake time at which the first enabled timer falls due, or UINT64_MAX.
  uint64_t NextDue();

  FakeClock& clock_;
  const std::thread::id ui_thread_;
  std::mutex mutex_;  // guards timers_ and every timer's state
  std::vector<Timer*> timers_;
};
