// Facts about the running system, and shutting it down.
#include <windows.h>

#include "platform/win_helpers.h"
#include "platform/win_ports.h"

namespace {

// Under Wine a shutdown ends every program of the Wine session instead of the computer.
bool RunningUnderWine() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// Without the privilege enabled in the process's token, the system refuses a shutdown.
bool EnableShutdownPrivilege(std::string& reason) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
    reason = SystemErrorText(GetLastError());
    return false;
  }
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  // A successful adjustment still says ERROR_NOT_ALL_ASSIGNED when the user lacks the
  // privilege.
  const bool enabled =
      LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid) &&
      AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) &&
      GetLastError() == ERROR_SUCCESS;
  if (!enabled)
    reason = SystemErrorText(GetLastError());
  CloseHandle(token);
  return enabled;
}

class WinSystem : public System {
 public:
  int PlatformFamily() override {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    if (!GetVersionExA(&version))
      return 0;
    return static_cast<int>(version.dwPlatformId);
  }

  bool ShutDown(std::string& reason) override {
    if (RunningUnderWine()) {
      reason = "Under Wine a shutdown would end the Wine session, not the computer.";
      return false;
    }
    if (!EnableShutdownPrivilege(reason))
      return false;
    if (ExitWindowsEx(EWX_SHUTDOWN, 0))
      return true;
    reason = SystemErrorText(GetLastError());
    return false;
  }
};

}  // namespace

std::unique_ptr<System> MakeWinSystem() {
  return std::make_unique<WinSystem>();
}
