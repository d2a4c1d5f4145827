// A clock that tests move by hand, optionally a step further on every read.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/clock.h"
#include "platform/date_time.h"

// Safe to read and advance from any thread. Local time follows the monotonic time from
// a start of the test's choosing.
class FakeClock : public Clock {
 public:
  // Returns the time, then moves it on by the auto-advance step.
  uint64_t MonotonicMs() override { return now_.fetch_add(auto_advance_); }
  double LocalNow() override { return local_start_ + static_cast<double>(now_) / 86400000; }
  int UtcOffsetMinutes() override { return offset_; }
  void SetUtcOffset(int minutes) { offset_ = minutes; }
  // The local date-time when Now() was 0; 1 June 2026 12:34:56 unless set.
  void SetLocalStart(double date_time) { local_start_ = date_time; }
  // The time, without moving it.
  uint64_t Now() const { return now_; }
  void Advance(uint64_t ms) { now_ += ms; }
  // Moves the local time alone, as setting the clock or a change of daylight saving does.
  void ShiftLocal(double days) { local_start_ = local_start_ + days; }
  // Lets code that polls until a deadline reach it without the test driving the clock.
  void SetAutoAdvance(uint64_t ms_per_read) { auto_advance_ = ms_per_read; }

 private:
  std::atomic<uint64_t> now_{0};
  std::atomic<uint64_t> auto_advance_{0};
  std::atomic<int> offset_{60};
  std::atomic<double> local_start_{ToDateTime({2026, 6, 1, 12, 34, 56})};
};
