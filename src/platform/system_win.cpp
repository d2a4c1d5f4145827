// Facts about the running system.
#include <windows.h>

#include "platform/win_ports.h"

namespace {

class WinSystem : public System {
 public:
  int PlatformFamily() override {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    if (!GetVersionExA(&version))
      return 0;
    return static_cast<int>(version.dwPlatformId);
  }
};

}  // namespace

std::unique_ptr<System> MakeWinSystem() {
  return std::make_unique<WinSystem>();
}
