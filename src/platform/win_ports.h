// The Win32 implementations of the ports, for the program's entry and Windows tests.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/hotkeys.h"
#include "platform/keyboard.h"
#include "platform/library_loader.h"
#include "platform/locale.h"
#include "platform/network.h"
#include "platform/profile_file.h"
#include "platform/prompts.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/sound.h"
#include "platform/system.h"
#include "platform/ui_loop.h"
#include "platform/xml.h"

// Loads from the system folder only: the RAS library is the system's own, and a copy
// beside a portable install must not answer for it.
std::unique_ptr<LibraryLoader> MakeWinLibraryLoader();
std::unique_ptr<Clock> MakeWinClock();
// Must be called on the user-interface thread; its timers tick on that thread.
std::unique_ptr<UiLoop> MakeWinUiLoop();
std::unique_ptr<Files> MakeWinFiles();
std::unique_ptr<Locale> MakeWinLocale();
std::unique_ptr<Shell> MakeWinShell();
std::unique_ptr<Prompts> MakeWinPrompts();
std::unique_ptr<Registry> MakeWinRegistry();
std::unique_ptr<ProfileFile> MakeWinProfileFile();
std::unique_ptr<Keyboard> MakeWinKeyboard();
std::unique_ptr<Sound> MakeWinSound();
std::unique_ptr<Desktop> MakeWinDesktop();
std::unique_ptr<System> MakeWinSystem();
// Must be called on the user-interface thread: socket and echo results arrive there.
std::unique_ptr<Network> MakeWinNetwork();
std::unique_ptr<XmlReader> MakeWinXmlReader();
// Network::HttpGet and CancelHttpGet as WinHTTP does them; the network port hands them on.
struct HttpCall;
class WinHttpClient {
 public:
  std::optional<std::string> Get(const std::string& host, const std::string& path,
                                 unsigned timeout_ms);
  void Cancel();

 private:
  std::shared_ptr<HttpCall> current_;  // the GET in progress
};
std::unique_ptr<HotKeys> MakeWinHotKeys();
