// Putting the ports together.
#include "ports/main_ports.h"

#include <stdexcept>

MainPortsBuilder::MainPortsBuilder(const MainPorts& p)
    : ras_(&p.ras),
      ui_(&p.ui),
      clock_(&p.clock),
      locale_(&p.locale),
      files_(&p.files),
      shell_(&p.shell),
      prompts_(&p.prompts),
      registry_(&p.registry),
      profiles_(&p.profiles),
      keyboard_(&p.keyboard),
      sound_(&p.sound),
      desktop_(&p.desktop),
      system_(&p.system),
      network_(&p.network),
      xml_(&p.xml),
      hotkeys_(&p.hotkeys) {}

namespace {

template <typename Port>
Port& Given(Port* port, const char* name) {
  if (!port)
    throw std::logic_error(std::string("The ") + name + " port was not given.");
  return *port;
}

}  // namespace

MainPorts MainPortsBuilder::Build() const {
  return MainPorts{
      Given(ras_, "RAS"),           Given(ui_, "UI loop"),        Given(clock_, "clock"),
      Given(locale_, "locale"),     Given(files_, "files"),       Given(shell_, "shell"),
      Given(prompts_, "prompts"),   Given(registry_, "registry"), Given(profiles_, "profiles"),
      Given(keyboard_, "keyboard"), Given(sound_, "sound"),       Given(desktop_, "desktop"),
      Given(system_, "system"),     Given(network_, "network"),   Given(xml_, "XML reader"),
      Given(hotkeys_, "hotkeys")};
}
