// The four global hotkeys: which combinations the system holds for the main window, and
// what a pressed one runs.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "ports/main_ports.h"
#include "settings/app_settings.h"
#include "settings/hotkey_dialog_model.h"
#include "commands/commands.h"
#include "display/tray.h"

// The identifiers under which the system holds the hotkeys.
constexpr int kHotKeyDialId = 0xA001;
constexpr int kHotKeyHangupId = 0xA002;
constexpr int kHotKeyRedialId = 0xA003;
constexpr int kHotKeyKeepId = 0xA004;

// A shortcut code as the system takes a hotkey: its modifier flags (platform/hotkeys.h)
// and its virtual key.
struct HotKeyCombination {
  unsigned modifiers = 0;
  unsigned key = 0;
  bool operator==(const HotKeyCombination&) const = default;
};
HotKeyCombination SplitShortCut(uint16_t code);

// What the hotkeys ask of the main window: the hotkey dialog, modal over it.
class HotKeyDialogView {
 public:
  virtual ~HotKeyDialogView() = default;
  // nullopt when the user cancelled.
  virtual std::optional<HotKeyChoices> EditHotKeys(const HotKeyChoices& choices) = 0;
};

// A pressed hotkey runs its command through `commands`, exactly as a click on its menu
// item does, so the controller's own checks (a dial in progress, say) apply.
class GlobalHotKeys {
 public:
  GlobalHotKeys(const MainPorts& ports, AppSettings& settings, const CommandTable& commands,
                Tray& tray, HotKeyDialogView& view);

  // Withdraws the hotkeys held now, then has the system hold the enabled ones for
  // `window`, in the order Dial, Hang up, Redial, Keep. A combination the system refuses
  // (another program holds it, or there is no key) is not reported: that hotkey stays
  // inactive until the next install.
  void InstallHotKeys(void* window);
  // Withdraws every hotkey held.
  void RemoveHotKeys();
  // The system's hotkey message for `id`: brings the window back first when
  // CkbShowMainWhenHotkey is on. Redial hangs up and lets the hang-up's consequences run
  // before it dials. Other identifiers do nothing.
  void WMHotKey(int id);
  // The hotkey dialog over `window`; its OK stores the choices and installs anew. True
  // when it did.
  bool HotKey1Click(void* window);

 private:
  void Redial();

  HotKeys& system_;
  UiLoop& ui_;
  AppSettings& settings_;
  const CommandTable& commands_;
  Tray& tray_;
  HotKeyDialogView& view_;
  void* window_ = nullptr;
  std::array<bool, 4> held_{};
};
