// The hotkey dialog's model.
#include "settings/hotkey_dialog_model.h"

#include <array>

#include "settings/hotkey_text.h"

namespace {

struct ModifierPair {
  uint16_t shortcut;
  uint16_t box;
};

constexpr std::array<ModifierPair, 3> kModifiers = {{
    {kShortCutShift, kHotKeyBoxShift},
    {kShortCutCtrl, kHotKeyBoxControl},
    {kShortCutAlt, kHotKeyBoxAlt},
}};

constexpr uint16_t kLastBoxKey = 0xFF;

}  // namespace

HotKeyChoices HotKeyChoicesOf(const AppSettings& s) {
  return {{s.CkbEnableHotKeyDial, s.HotKey_Dial},
          {s.CkbEnableHotKeyHangup, s.HotKey_Hangup},
          {s.CkbEnableHotKeyRedial, s.HotKey_Redial},
          {s.CkbEnableHotKeyKeep, s.HotKey_Keep},
          s.CkbShowMainWhenHotkey};
}

void ApplyHotKeyChoices(const HotKeyChoices& c, AppSettings& s) {
  s.CkbEnableHotKeyDial = c.dial.enabled;
  s.HotKey_Dial = c.dial.code;
  s.CkbEnableHotKeyHangup = c.hangup.enabled;
  s.HotKey_Hangup = c.hangup.code;
  s.CkbEnableHotKeyRedial = c.redial.enabled;
  s.HotKey_Redial = c.redial.code;
  s.CkbEnableHotKeyKeep = c.keep.enabled;
  s.HotKey_Keep = c.keep.code;
  s.CkbShowMainWhenHotkey = c.show_main;
}

uint16_t HotKeyBoxValue(uint16_t code) {
  const uint16_t key = code & kShortCutKeyMask;
  if (key > kLastBoxKey)
    return 0;
  uint16_t flags = 0;
  for (const auto& modifier : kModifiers) {
    if (code & modifier.shortcut)
      flags |= modifier.box;
  }
  return static_cast<uint16_t>(flags << 8 | key);
}

uint16_t ShortCutOfHotKeyBox(uint16_t value) {
  const uint16_t key = value & kLastBoxKey;
  if (key == 0)
    return 0;
  uint16_t code = key;
  for (const auto& modifier : kModifiers) {
    if ((value >> 8) & modifier.box)
      code |= modifier.shortcut;
  }
  return code;
}
