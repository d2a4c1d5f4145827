// Fake timers and message pumping on a fake clock.
#include "fakes/fake_ui_loop.h"

#include <algorithm>
#include <stdexcept>

class FakeUiLoop::Timer : public UiTimer {
 public:
  explicit Timer(FakeUiLoop& loop) : loop_(loop) {}
  ~Timer() override {
    std::lock_guard lock(loop_.mutex_);
    std::erase(loop_.timers_, this);
  }

  void SetInterval(unsigned milliseconds) override {
    std::lock_guard lock(loop_.mutex_);
    if (enabled_ && interval_ != milliseconds) {
      since_ = loop_.clock_.Now();
    }
    interval_ = milliseconds;
  }
  void SetEnabled(bool enabled) override {
    std::lock_guard lock(loop_.mutex_);
    if (enabled && !enabled_) {
      since_ = loop_.clock_.Now();
    }
    enabled_ = enabled;
  }
  bool Enabled() const override {
    std::lock_guard lock(loop_.mutex_);
    return enabled_;
  }

  FakeUiLoop& loop_;
  unsigned interval_ = 0;
  bool enabled_ = false;
  uint64_t since_ = 0;
};

FakeUiLoop::FakeUiLoop(FakeClock& clock) : clock_(clock), ui_thread_(std::this_thread::get_id()) {}

std::unique_ptr<UiTimer> FakeUiLoop::CreateTimer() {
  auto timer = std::make_unique<Timer>(*this);
  std::lock_guard lock(mutex_);
  timers_.push_back(timer.get());
  return timer;
}

void FakeUiLoop::ProcessMessages() {
  if (!OnUiThread()) {
    throw std::logic_error("ProcessMessages called off the UI thread");
  }
  std::vector<Timer*> timers;
  {
    std::lock_guard lock(mutex_);
    timers = timers_;
  }
  for (Timer* timer : timers) {
    if (TakeTick(timer) && timer->OnTimer) {
      timer->OnTimer();
    }
  }
}

// A tick run earlier in the same pass may have stopped or destroyed the timer.
bool FakeUiLoop::TakeTick(Timer* timer) {
  std::lock_guard lock(mutex_);
  if (std::find(timers_.begin(), timers_.end(), timer) == timers_.end() || !timer->enabled_ ||
      clock_.Now() - timer->since_ < timer->interval_) {
    return false;
  }
  timer->since_ = clock_.Now();
  return true;
}

int FakeUiLoop::EnabledTimers() {
  std::lock_guard lock(mutex_);
  return std::count_if(timers_.begin(), timers_.end(),
                       [](Timer* timer) { return timer->enabled_; });
}

bool FakeUiLoop::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto give_up = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > give_up) {
      return false;
    }
    ProcessMessages();
    clock_.Advance(1);
    std::this_thread::yield();
  }
  return true;
}
