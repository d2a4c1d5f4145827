// The Win32 adapters of every port, owned together.
#include "ports/win_port_set.h"

#include "platform/win_ports.h"

WinPortSet::WinPortSet(RegistrySetUp registry_set_up)
    : loader_(MakeWinLibraryLoader()),
      ui_(MakeWinUiLoop()),
      clock_(MakeWinClock()),
      locale_(MakeWinLocale()),
      files_(MakeWinFiles()),
      shell_(MakeWinShell()),
      prompts_(MakeWinPrompts()),
      registry_(MakeWinRegistry()),
      profiles_(MakeWinProfileFile()),
      keyboard_(MakeWinKeyboard()),
      sound_(MakeWinSound()),
      desktop_(MakeWinDesktop()),
      system_(MakeWinSystem()),
      network_(MakeWinNetwork()),
      xml_(MakeWinXmlReader()),
      hotkeys_(MakeWinHotKeys()) {
  if (registry_set_up)
    registry_ = registry_set_up(std::move(registry_), *files_, *profiles_);
}

WinPortSet::~WinPortSet() = default;

MainPorts WinPortSet::Ports(RasApi& ras) const {
  return MainPortsBuilder()
      .WithRas(ras)
      .WithUi(*ui_)
      .WithClock(*clock_)
      .WithLocale(*locale_)
      .WithFiles(*files_)
      .WithShell(*shell_)
      .WithPrompts(*prompts_)
      .WithRegistry(*registry_)
      .WithProfiles(*profiles_)
      .WithKeyboard(*keyboard_)
      .WithSound(*sound_)
      .WithDesktop(*desktop_)
      .WithSystem(*system_)
      .WithNetwork(*network_)
      .WithXml(*xml_)
      .WithHotKeys(*hotkeys_)
      .Build();
}
