// The hotkey dialog's model: what it edits, taken from and given back to the settings,
// and the hotkey boxes' form of a shortcut code.
#pragma once

#include <cstdint>

#include "settings/app_settings.h"

// One hotkey as the dialog shows it. A disabled hotkey keeps its combination, so that
// enabling it again brings the same one back.
struct HotKeyChoice {
  bool enabled = false;
  uint16_t code = 0;  // a shortcut code (settings/hotkey_text.h)
  bool operator==(const HotKeyChoice&) const = default;
};

struct HotKeyChoices {
  HotKeyChoice dial, hangup, redial, keep;
  bool show_main = true;  // CkbShowMainWhenHotkey
  bool operator==(const HotKeyChoices&) const = default;
};

HotKeyChoices HotKeyChoicesOf(const AppSettings& settings);
void ApplyHotKeyChoices(const HotKeyChoices& choices, AppSettings& settings);

// Modifier flags of a hotkey box's value, in its high byte.
constexpr uint16_t kHotKeyBoxShift = 0x01;
constexpr uint16_t kHotKeyBoxControl = 0x02;
constexpr uint16_t kHotKeyBoxAlt = 0x04;

// A hotkey box's value: the virtual key in the low byte, the modifier flags in the high
// byte. A code whose key does not fit a byte gives 0, an empty box.
uint16_t HotKeyBoxValue(uint16_t code);
// The reverse; the extended-key flag is dropped, and a box without a key gives 0.
uint16_t ShortCutOfHotKeyBox(uint16_t value);
