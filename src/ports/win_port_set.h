// The Win32 adapters of every port, owned together, for the program and its benchmarks.
#pragma once

#include <memory>

#include "ports/main_ports.h"

class WinPortSet {
 public:
  // Wraps the system registry: a portable copy keeps its settings elsewhere.
  using RegistrySetUp = std::unique_ptr<Registry> (*)(std::unique_ptr<Registry> system,
                                                      Files& files, ProfileFile& profiles);

  // Must be created on the user-interface thread: timers and socket notices arrive there.
  explicit WinPortSet(RegistrySetUp registry_set_up = nullptr);
  ~WinPortSet();

  // Every port, with `ras` as the RAS: the system's through the library loader, or a
  // benchmark's own.
  MainPorts Ports(RasApi& ras) const;
  LibraryLoader& Loader() const { return *loader_; }

 private:
  std::unique_ptr<LibraryLoader> loader_;
  std::unique_ptr<UiLoop> ui_;
  std::unique_ptr<Clock> clock_;
  std::unique_ptr<Locale> locale_;
  std::unique_ptr<Files> files_;
  std::unique_ptr<Shell> shell_;
  std::unique_ptr<Prompts> prompts_;
  std::unique_ptr<Registry> registry_;
  std::unique_ptr<ProfileFile> profiles_;
  std::unique_ptr<Keyboard> keyboard_;
  std::unique_ptr<Sound> sound_;
  std::unique_ptr<Desktop> desktop_;
  std::unique_ptr<System> system_;
  std::unique_ptr<Network> network_;
  std::unique_ptr<XmlReader> xml_;
  std::unique_ptr<HotKeys> hotkeys_;
};
