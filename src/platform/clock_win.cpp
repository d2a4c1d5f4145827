// The system's clock.
#include <windows.h>

#include "platform/win_ports.h"

namespace {

class WinClock : public Clock {
 public:
  uint64_t MonotonicMs() override { return GetTickCount64(); }
};

}  // namespace

std::unique_ptr<Clock> MakeWinClock() {
  return std::make_unique<WinClock>();
}
