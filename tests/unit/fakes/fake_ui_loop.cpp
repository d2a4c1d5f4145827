// Fake timers and message pumping on a fake clock.
#include "fakes/fake_ui_loop.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string_view>

namespace {

constexpr uint64_t kNever = std::numeric_limits<uint64_t>::max();

// How many of this process's threads are running or ready to run, the caller among them;
// nothing where the system does not show its threads' states. Plain system calls on a
// buffer of the stack: this runs before every move of the clock, and stream buffers would
// cost more than the look itself.
std::optional<int> RunnableThreads() {
  DIR* tasks = opendir("/proc/self/task");
  if (!tasks) {
    return std::nullopt;
  }
  int runnable = 0;
  while (const dirent* task = readdir(tasks)) {
    if (task->d_name[0] == '.') {
      continue;  // "./stat" would be the whole process's
    }
    char path[sizeof task->d_name + 32];
    std::snprintf(path, sizeof path, "/proc/self/task/%s/stat", task->d_name);
    const int fd = open(path, O_RDONLY);
    if (fd < 0) {
      continue;  // a thread that has just ended
    }
    char stat[512];
    const ssize_t size = read(fd, stat, sizeof stat - 1);
    close(fd);
    // The state follows the command name, which is in parentheses and may hold blanks.
    const std::string_view text(stat, size > 0 ? size : 0);
    const size_t name_end = text.rfind(')');
    if (name_end != std::string_view::npos && name_end + 2 < text.size() &&
        (text[name_end + 2] == 'R' || text[name_end + 2] == 'D')) {
      ++runnable;
    }
  }
  closedir(tasks);
  return runnable;
}

// Waits until the other threads are asleep or blocked: what they had in hand is done.
// A thread that never settles costs a little real time at each move of the clock.
void LetOtherThreadsSettle() {
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
  for (;;) {
    const std::optional<int> runnable = RunnableThreads();
    if (!runnable) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      return;
    }
    if (*runnable <= 1 || std::chrono::steady_clock::now() > give_up) {
      return;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(50));
  }
}

}  // namespace

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

  uint64_t Due() const { return since_ + std::max(interval_, 1u); }

  FakeUiLoop& loop_;
  unsigned interval_ = 0;
  bool enabled_ = false;
  uint64_t since_ = 0;
};

namespace {

class FakeSignal : public UiSignal {
 public:
  explicit FakeSignal(std::unique_ptr<UiTimer> timer) : timer_(std::move(timer)) {
    timer_->SetInterval(1);
    timer_->OnTimer = [this] {
      timer_->SetEnabled(false);
      if (OnSignal)
        OnSignal();
    };
    std::lock_guard lock(Mutex());
    Live().push_back(this);
  }
  ~FakeSignal() override {
    std::lock_guard lock(Mutex());
    std::erase(Live(), this);
  }

  void* Handle() const override { return const_cast<FakeSignal*>(this); }

  static void Set(void* handle) {
    std::lock_guard lock(Mutex());
    if (std::find(Live().begin(), Live().end(), handle) != Live().end())
      static_cast<FakeSignal*>(handle)->timer_->SetEnabled(true);
  }

 private:
  static std::mutex& Mutex() {
    static std::mutex mutex;
    return mutex;
  }
  static std::vector<FakeSignal*>& Live() {
    static std::vector<FakeSignal*> live;
    return live;
  }

  std::unique_ptr<UiTimer> timer_;
};

}  // namespace

std::unique_ptr<UiSignal> FakeUiLoop::CreateSignal() {
  return std::make_unique<FakeSignal>(CreateTimer());
}

void FakeUiLoop::SetEvent(void* handle) {
  FakeSignal::Set(handle);
}

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
      clock_.Now() < timer->Due()) {
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

uint64_t FakeUiLoop::NextDue() {
  std::lock_guard lock(mutex_);
  uint64_t next = kNever;
  for (Timer* timer : timers_) {
    if (timer->enabled_) {
      next = std::min(next, timer->Due());
    }
  }
  return next;
}

bool FakeUiLoop::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  return Run(done, kNever, limit);
}

bool FakeUiLoop::AdvanceTo(uint64_t fake_ms, std::chrono::milliseconds limit) {
  if (!Run([&] { return clock_.Now() >= fake_ms; }, fake_ms, limit)) {
    return false;
  }
  ProcessMessages();
  return true;
}

// Never moves the clock past `horizon`.
bool FakeUiLoop::Run(const std::function<bool()>& done, uint64_t horizon,
                     std::chrono::milliseconds limit) {
  const auto give_up = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > give_up) {
      return false;
    }
    ProcessMessages();
    if (done()) {
      return true;
    }
    LetOtherThreadsSettle();
    const uint64_t next = std::min(NextDue(), horizon);
    if (next == kNever) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    } else if (const uint64_t now = clock_.Now(); next > now) {
      clock_.Advance(next - now);
    }
  }
  return true;
}
