// Port: time as the program reads it.
#pragma once

#include <cstdint>

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds from an arbitrary start; never goes backwards.
  virtual uint64_t MonotonicMs() = 0;
  // The local date and time as a date-time (see platform/date_time.h). It jumps when
  // the user sets the clock or daylight saving time begins or ends.
  virtual double LocalNow() = 0;
  // Minutes the local time is ahead of UTC now (negative west of Greenwich), daylight
  // saving included.
  virtual int UtcOffsetMinutes() = 0;
};
