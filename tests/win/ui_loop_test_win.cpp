// The window timers of the UI loop: when a countdown starts over and when it is left alone.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "driver.h"
#include "platform/win_ports.h"

namespace {

class UiLoopWin : public testing::Test {
 protected:
  UiLoopWin() {
    timer_->OnTimer = [this] {
      ++ticks_;
      if (one_shot_)
        timer_->SetEnabled(false);
    };
  }

  // Pumps until the timer has ticked `count` times in all, or the wait's ceiling has
  // passed; the count is what the test looks at, never the time taken.
  void PumpUntilTicks(int count) {
    WaitUntil([&] {
      ui_->ProcessMessages();
      return ticks_ >= count;
    });
  }

  std::unique_ptr<UiLoop> ui_ = MakeWinUiLoop();
  std::unique_ptr<UiTimer> timer_ = ui_->CreateTimer();
  int ticks_ = 0;
  bool one_shot_ = false;
};

// A timer shorter than the system's shortest ticks as soon as its countdown starts, so
// each start shows as one tick of a timer that stops itself.
TEST_F(UiLoopWin, ANewIntervalAndADisableThenEnableStartTheCountdownOver) {
  one_shot_ = true;
  timer_->SetInterval(1);
  std::thread([this] { timer_->SetEnabled(true); }).join();
  ui_->ProcessMessages();
  EXPECT_EQ(1, ticks_);

  timer_->SetInterval(3600000);
  timer_->SetEnabled(true);
  ui_->ProcessMessages();
  EXPECT_EQ(1, ticks_);
  timer_->SetInterval(1);
  ui_->ProcessMessages();
  EXPECT_EQ(2, ticks_);

  timer_->SetInterval(3600000);
  timer_->SetEnabled(true);
  ui_->ProcessMessages();
  timer_->SetEnabled(false);
  timer_->SetInterval(1);
  timer_->SetEnabled(true);
  ui_->ProcessMessages();
  EXPECT_EQ(3, ticks_);
  EXPECT_FALSE(timer_->Enabled());
}

// Were each enable a restart, a timer enabled again and again more often than its
// interval would never tick.
TEST_F(UiLoopWin, EnablingAnEnabledTimerFromAnotherThreadLeavesItTicking) {
  timer_->SetInterval(100);
  timer_->SetEnabled(true);
  std::atomic<bool> stop = false;
  std::thread enabler([&] {
    while (!stop) {
      timer_->SetEnabled(true);
      Sleep(1);
    }
  });
  PumpUntilTicks(3);
  stop = true;
  enabler.join();
  EXPECT_GE(ticks_, 3);
}

}  // namespace
