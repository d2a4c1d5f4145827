// The fake UI loop that the controller's timing tests stand on: when timers start, how
// fake time passes, and that work from another thread is not skipped over.
#include "fakes/fake_ui_loop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

using Times = std::vector<uint64_t>;

class FakeUiLoopTest : public testing::Test {
 protected:
  // A timer whose ticks note the fake time they ran at.
  std::unique_ptr<UiTimer> NotingTimer(unsigned interval, Times& ticks) {
    std::unique_ptr<UiTimer> timer = ui.CreateTimer();
    timer->SetInterval(interval);
    timer->OnTimer = [this, &ticks] { ticks.push_back(clock.Now()); };
    return timer;
  }

  FakeClock clock;
  FakeUiLoop ui{clock};
};

TEST_F(FakeUiLoopTest, OnlyAStartFromDisabledOrANewIntervalRestartsTheCountdown) {
  Times ticks;
  std::unique_ptr<UiTimer> timer = NotingTimer(500, ticks);
  timer->SetEnabled(true);
  ASSERT_TRUE(ui.AdvanceTo(300));
  timer->SetEnabled(true);
  timer->SetInterval(500);
  ASSERT_TRUE(ui.AdvanceTo(600));
  timer->SetEnabled(false);
  timer->SetEnabled(true);
  ASSERT_TRUE(ui.AdvanceTo(1200));
  timer->SetInterval(400);
  ASSERT_TRUE(ui.AdvanceTo(2000));
  EXPECT_EQ((Times{500, 1100, 1600, 2000}), ticks);
  EXPECT_EQ(2000u, clock.Now());
}

TEST_F(FakeUiLoopTest, AdvanceToSaysSoWhenTheTimeCouldNotPass) {
  std::unique_ptr<UiTimer> slow = ui.CreateTimer();
  slow->SetInterval(10);
  slow->OnTimer = [] { std::this_thread::sleep_for(std::chrono::milliseconds(5)); };
  slow->SetEnabled(true);
  EXPECT_FALSE(ui.AdvanceTo(1000000, std::chrono::milliseconds(50)));
  EXPECT_LT(clock.Now(), 1000000u);
}

// A thread still busy with a step when the loop looks must not find the step delivered
// only after the next timer, a second of fake time later.
TEST_F(FakeUiLoopTest, WorkAnotherThreadHasInHandArrivesBeforeTimeJumpsAhead) {
  Times seconds, notified;
  std::unique_ptr<UiTimer> second = NotingTimer(1000, seconds);
  std::unique_ptr<UiTimer> notification = NotingTimer(1, notified);
  second->SetEnabled(true);
  std::thread worker([&] {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(20);
    while (std::chrono::steady_clock::now() < until) {
    }
    notification->SetEnabled(true);
  });
  const bool arrived = ui.RunUntil([&] { return !notified.empty(); });
  worker.join();
  ASSERT_TRUE(arrived);
  EXPECT_LT(notified.front(), 1000u);
}

}  // namespace
