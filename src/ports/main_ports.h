// The outside world as the controller reaches it, and the one way to put it together.
#pragma once

#include "dialup/ras_api.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/hotkeys.h"
#include "platform/keyboard.h"
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

struct MainPorts {
  RasApi& ras;
  UiLoop& ui;
  Clock& clock;
  Locale& locale;
  Files& files;
  Shell& shell;
  Prompts& prompts;
  Registry& registry;
  ProfileFile& profiles;
  Keyboard& keyboard;
  Sound& sound;
  Desktop& desktop;
  System& system;
  Network& network;
  XmlReader& xml;
  HotKeys& hotkeys;
};

// Names each port once, so that a new port is added in one place and a caller that
// forgets it hears of it at once. The program gives it the Win32 adapters, the tests
// their fakes; a test that needs one other port starts from a whole set and replaces it.
class MainPortsBuilder {
 public:
  MainPortsBuilder() = default;
  explicit MainPortsBuilder(const MainPorts& ports);

  MainPortsBuilder& WithRas(RasApi& port) { return Set(ras_, port); }
  MainPortsBuilder& WithUi(UiLoop& port) { return Set(ui_, port); }
  MainPortsBuilder& WithClock(Clock& port) { return Set(clock_, port); }
  MainPortsBuilder& WithLocale(Locale& port) { return Set(locale_, port); }
  MainPortsBuilder& WithFiles(Files& port) { return Set(files_, port); }
  MainPortsBuilder& WithShell(Shell& port) { return Set(shell_, port); }
  MainPortsBuilder& WithPrompts(Prompts& port) { return Set(prompts_, port); }
  MainPortsBuilder& WithRegistry(Registry& port) { return Set(registry_, port); }
  MainPortsBuilder& WithProfiles(ProfileFile& port) { return Set(profiles_, port); }
  MainPortsBuilder& WithKeyboard(Keyboard& port) { return Set(keyboard_, port); }
  MainPortsBuilder& WithSound(Sound& port) { return Set(sound_, port); }
  MainPortsBuilder& WithDesktop(Desktop& port) { return Set(desktop_, port); }
  MainPortsBuilder& WithSystem(System& port) { return Set(system_, port); }
  MainPortsBuilder& WithNetwork(Network& port) { return Set(network_, port); }
  MainPortsBuilder& WithXml(XmlReader& port) { return Set(xml_, port); }
  MainPortsBuilder& WithHotKeys(HotKeys& port) { return Set(hotkeys_, port); }

  // Throws std::logic_error naming the first port that was not given.
  MainPorts Build() const;

 private:
  template <typename Port>
  MainPortsBuilder& Set(Port*& slot, Port& port) {
    slot = &port;
    return *this;
  }

  RasApi* ras_ = nullptr;
  UiLoop* ui_ = nullptr;
  Clock* clock_ = nullptr;
  Locale* locale_ = nullptr;
  Files* files_ = nullptr;
  Shell* shell_ = nullptr;
  Prompts* prompts_ = nullptr;
  Registry* registry_ = nullptr;
  ProfileFile* profiles_ = nullptr;
  Keyboard* keyboard_ = nullptr;
  Sound* sound_ = nullptr;
  Desktop* desktop_ = nullptr;
  System* system_ = nullptr;
  Network* network_ = nullptr;
  XmlReader* xml_ = nullptr;
  HotKeys* hotkeys_ = nullptr;
};
