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
};

}  // namespace

std::unique_ptr<Clock> MakeWinClock() {
  return std::make_unique<WinClock>();
}
