// Port: time as the program reads it.
#pragma once

#include <cstdint>

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds from an arbitrary start; never goes backwards.
  virtual uint64_t MonotonicMs() = 0;
};
