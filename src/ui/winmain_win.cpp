// Program entry: the uninstaller's request, the single-instance rule, the welcome window,
// the main window.
#include <windows.h>

#include <memory>

#include "app/unregister.h"
#include "dialup/ras_api.h"
#include "ports/win_port_set.h"
#include "platform/win_ports.h"
#include "settings/password_dialog.h"
#include "settings/password_protection.h"
#include "settings/portable_registry.h"
#include "ui/main_window.h"
#include "ui/splash.h"

namespace {

// A second start raises the running program and ends, without a welcome window.
bool RaiseRunningInstance() {
  HWND running = FindWindowA(kMainWindowClass, nullptr);
  if (!running)
    return false;
  if (!IsWindowVisible(running))
    ShowWindow(running, SW_SHOWDEFAULT);
  PostMessageA(running, WM_USER, 0, 0);
  SetForegroundWindow(running);
  return true;
}

std::vector<std::string> Arguments() {
  std::vector<std::string> args;
  for (int i = 1; i < __argc; ++i)
    args.emplace_back(__argv[i]);
  return args;
}

// The uninstaller's request, before any window: 0 when everything was taken back.
int RunUnregister() {
  const WinPortSet ports(PortableSetUp);
  RasApi ras(ports.Loader());
  const MainPorts main = ports.Ports(ras);
  TDialUp dialup(main.ras, main.ui, main.clock);
  try {
    return Unregister(main.registry, main.files, dialup).empty() ? 0 : 1;
  } catch (const ERasError&) {
    return 2;  // no RAS: nothing of it to take back
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (IsUnregisterRequest(Arguments()))
    return RunUnregister();
  if (RaiseRunningInstance())
    return 0;

  // The ports first: a portable copy's password is in its portable.ini.
  const WinPortSet ports(PortableSetUp);
  RasApi ras(ports.Loader());
  const MainPorts main = ports.Ports(ras);
  void* splash = ShowSplash([&main] {
    return CheckStartupPassword(main.registry, main.prompts, ShowInputPasswordDialog);
  });
  if (!splash)
    return 0;  // a refused password: nothing else is created, nothing saved
  return RunMainWindow(main, Arguments(), [splash] { HideSplash(splash); });
}
