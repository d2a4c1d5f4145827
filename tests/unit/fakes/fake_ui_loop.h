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
// once its interval has passed on the fake clock since it was started or last fired, and
// then again each interval, like a window timer. It starts when enabled from disabled,
// or when given a new interval while enabled. SetEnabled may be called from any
// thread. Timers must be destroyed before the loop.
class FakeUiLoop : public UiLoop {
 public:
  explicit FakeUiLoop(FakeClock& clock);

  std::unique_ptr<UiTimer> CreateTimer() override;
  // Fires the due timers in creation order. A tick may pump messages itself. Throws
  // std::logic_error off the UI thread, where a real loop could not pump.
  void ProcessMessages() override;

  // Pumps messages and moves the fake clock on 1 ms at a time until `done` holds, for
  // work that arrives from other threads. Gives up after `limit` of real time; returns
  // whether `done` held.
  bool RunUntil(const std::function<bool()>& done,
                std::chrono::milliseconds limit = std::chrono::seconds(20));
  bool OnUiThread() const { return std::this_thread::get_id() == ui_thread_; }
  // Lets a test see that work is waiting for the UI thread without running it.
  int EnabledTimers();

 private:
  class Timer;
  bool TakeTick(Timer* timer);

  FakeClock& clock_;
  const std::thread::id ui_thread_;
  std::mutex mutex_;  // guards timers_ and every timer's state
  std::vector<Timer*> timers_;
};
