// The text form of hotkey shortcut codes, as the registry stores them ("Ctrl+Alt+D").
#include "settings/hotkey_text.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "platform/text.h"

namespace {

struct Modifier {
  uint16_t bit;
  std::string_view prefix;
};

constexpr std::array<Modifier, 3> kModifiers = {{
    {kShortCutShift, "Shift+"},
    {kShortCutCtrl, "Ctrl+"},
    {kShortCutAlt, "Alt+"},
}};

struct FixedName {
  int key;
  std::string_view name;
};

// Keys whose layout names differ between layouts and versions get one name everywhere.
constexpr std::array<FixedName, 15> kFixedNames = {{
    {0x08, "BkSp"},
    {0x09, "Tab"},
    {0x0D, "Enter"},
    {0x1B, "Esc"},
    {0x20, "Space"},
    {0x21, "PgUp"},
    {0x22, "PgDn"},
    {0x23, "End"},
    {0x24, "Home"},
    {0x25, "Left"},
    {0x26, "Up"},
    {0x27, "Right"},
    {0x28, "Down"},
    {0x2D, "Ins"},
    {0x2E, "Del"},
}};

constexpr int kF1 = 0x70;
constexpr int kF24 = 0x87;
constexpr int kLastVirtualKey = 0xFF;

std::string KeyText(int key, Keyboard& keyboard) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
    return std::string(1, static_cast<char>(key));
  if (key >= kF1 && key <= kF24)
    return std::string("F").append(std::to_string(key - kF1 + 1));
  for (const auto& fixed : kFixedNames) {
    if (fixed.key == key)
      return std::string(fixed.name);
  }
  return keyboard.KeyName(key);
}

// Takes one modifier prefix off the front of `text`; 0 when it starts with none.
uint16_t TakeModifier(std::string_view& text) {
  for (const auto& modifier : kModifiers) {
    if (SameText(text.substr(0, modifier.prefix.size()), modifier.prefix)) {
      text.remove_prefix(modifier.prefix.size());
      return modifier.bit;
    }
  }
  return 0;
}

}  // namespace

std::string ShortCutToText(uint16_t code, Keyboard& keyboard) {
  int key = code & kShortCutKeyMask;
  std::string name = key == 0 ? "" : KeyText(key, keyboard);
  if (name.empty())
    return "";
  std::string text;
  for (const auto& modifier : kModifiers) {
    if (code & modifier.bit)
      text += modifier.prefix;
  }
  return text + name;
}

uint16_t TextToShortCut(const std::string& text, Keyboard& keyboard) {
  std::string_view rest = text;
  uint16_t modifiers = 0;
  while (uint16_t bit = TakeModifier(rest))
    modifiers |= bit;
  if (rest.empty())
    return 0;
  // Searching by the same names that writing uses keeps the two exact inverses, also
  // where a layout gives a fixed-name key another key's name.
  for (int key = 1; key <= kLastVirtualKey; ++key) {
    if (SameText(KeyText(key, keyboard), rest))
      return static_cast<uint16_t>(modifiers | key);
  }
  return 0;
}
