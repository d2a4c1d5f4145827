// The text form of hotkey shortcut codes, as the registry stores them ("Ctrl+Alt+D").
#pragma once

#include <cstdint>
#include <string>

#include "platform/keyboard.h"

// Shortcut code bits: the virtual key in the low 13 bits, then the modifiers.
constexpr uint16_t kShortCutKeyMask = 0x1FFF;
constexpr uint16_t kShortCutShift = 0x2000;
constexpr uint16_t kShortCutCtrl = 0x4000;
constexpr uint16_t kShortCutAlt = 0x8000;

// "Shift+", "Ctrl+" and "Alt+" in that order, for the modifiers present, then the key's
// name: "A"-"Z", "0"-"9", "F1"-"F24", a fixed name ("BkSp", "Tab", "Enter", "Esc",
// "Space", "PgUp", "PgDn", "End", "Home", "Left", "Up", "Right", "Down", "Ins", "Del") or
// else the layout's own name. Code 0, and a key without any name, give "".
std::string ShortCutToText(uint16_t code, Keyboard& keyboard);

// The reverse of ShortCutToText. Reading is lenient: modifiers may come in any order,
// repeat, and match like key names without regard to ASCII case. Text that names no key
// ("", "Alt+", "Foo") gives 0. When two keys share a layout name, the lower virtual key
// wins.
uint16_t TextToShortCut(const std::string& text, Keyboard& keyboard);
