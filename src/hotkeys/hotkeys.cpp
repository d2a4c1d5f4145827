// The four global hotkeys: installing, withdrawing and dispatching them.
#include "hotkeys/hotkeys.h"

#include "platform/hotkeys.h"
#include "settings/hotkey_text.h"

namespace {

struct HotKeySlot {
  int id;
  bool AppSettings::*enabled;
  uint16_t AppSettings::*code;
};

constexpr std::array<HotKeySlot, 4> kSlots = {{
    {kHotKeyDialId, &AppSettings::CkbEnableHotKeyDial, &AppSettings::HotKey_Dial},
    {kHotKeyHangupId, &AppSettings::CkbEnableHotKeyHangup, &AppSettings::HotKey_Hangup},
    {kHotKeyRedialId, &AppSettings::CkbEnableHotKeyRedial, &AppSettings::HotKey_Redial},
    {kHotKeyKeepId, &AppSettings::CkbEnableHotKeyKeep, &AppSettings::HotKey_Keep},
}};

}  // namespace

HotKeyCombination SplitShortCut(uint16_t code) {
  HotKeyCombination combination{0, static_cast<unsigned>(code & kShortCutKeyMask)};
  if (code & kShortCutShift)
    combination.modifiers |= kHotKeyShift;
  if (code & kShortCutCtrl)
    combination.modifiers |= kHotKeyControl;
  if (code & kShortCutAlt)
    combination.modifiers |= kHotKeyAlt;
  return combination;
}

GlobalHotKeys::GlobalHotKeys(const MainPorts& ports, AppSettings& settings,
                             const CommandTable& commands, Tray& tray, HotKeyDialogView& view)
    : system_(ports.hotkeys),
      ui_(ports.ui),
      settings_(settings),
      commands_(commands),
      tray_(tray),
      view_(view) {}

void GlobalHotKeys::InstallHotKeys(void* window) {
  RemoveHotKeys();
  window_ = window;
  for (size_t i = 0; i < kSlots.size(); ++i) {
    const HotKeyCombination combination = SplitShortCut(settings_.*kSlots[i].code);
    // A hotkey without a key is no hotkey, whatever the system would make of it.
    if (settings_.*kSlots[i].enabled && combination.key != 0)
      held_[i] = system_.Register(window_, kSlots[i].id, combination.modifiers, combination.key);
  }
}

void GlobalHotKeys::RemoveHotKeys() {
  for (size_t i = 0; i < kSlots.size(); ++i) {
    if (held_[i])
      system_.Unregister(window_, kSlots[i].id);
    held_[i] = false;
  }
}

void GlobalHotKeys::WMHotKey(int id) {
  if (id < kHotKeyDialId || id > kHotKeyKeepId)
    return;
  if (settings_.CkbShowMainWhenHotkey)
    tray_.ShowMainWindow();
  switch (id) {
    case kHotKeyDialId:
      commands_.Run(Command::Dial);
      break;
    case kHotKeyHangupId:
      commands_.Run(Command::HangUp);
      break;
    case kHotKeyRedialId:
      Redial();
      break;
    case kHotKeyKeepId:
      commands_.Run(Command::KeepConnection);
      break;
  }
}

void GlobalHotKeys::Redial() {
  commands_.Run(Command::HangUp);
  ui_.ProcessMessages();
  commands_.Run(Command::Dial);
}

bool GlobalHotKeys::HotKey1Click(void* window) {
  const auto choices = view_.EditHotKeys(HotKeyChoicesOf(settings_));
  if (!choices)
    return false;
  ApplyHotKeyChoices(*choices, settings_);
  InstallHotKeys(window);
  return true;
}
