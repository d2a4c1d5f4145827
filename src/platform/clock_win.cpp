// The system's clock.
#include <windows.h>

#include "platform/date_time.h"
#include "platform/win_ports.h"

namespace {

class WinClock : public Clock {
 public:
  uint64_t MonotonicMs() override { return GetTickCount64(); }

  double LocalNow() override {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return ToDateTime(
        {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds});
  }

  int UtcOffsetMinutes() override {
    TIME_ZONE_INFORMATION zone;
    const DWORD which = GetTimeZoneInformation(&zone);
    LONG bias = zone.Bias;
    if (which == TIME_ZONE_ID_DAYLIGHT)
      bias += zone.DaylightBias;
    else if (which == TIME_ZONE_ID_STANDARD)
      bias += zone.StandardBias;
    return -static_cast<int>(bias);
  }
};

}  // namespace

std::unique_ptr<Clock> MakeWinClock() {
  return std::make_unique<WinClock>();
}
