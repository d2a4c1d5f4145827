// The text form of hotkeys: what the registry holds, read back to the same shortcut.
#include "settings/hotkey_text.h"

#include <gtest/gtest.h>

#include <string>

#include "fakes/fake_keyboard.h"

namespace {

TEST(HotKeyText, ModifiersAndKey) {
  FakeKeyboard keyboard;
  EXPECT_EQ("Ctrl+Alt+D", ShortCutToText(0xC044, keyboard));
  EXPECT_EQ(0xC044, TextToShortCut("Ctrl+Alt+D", keyboard));
  EXPECT_EQ("Shift+Ctrl+Alt+F12", ShortCutToText(0xE07B, keyboard));
  EXPECT_EQ("Alt+1", ShortCutToText(0x8031, keyboard));
  EXPECT_EQ("Z", ShortCutToText('Z', keyboard));
  // Reading forgives order, repetition and case.
  EXPECT_EQ(0xA041, TextToShortCut("Alt+Shift+A", keyboard));
  EXPECT_EQ(0xA041, TextToShortCut("Shift+Alt+A", keyboard));
  EXPECT_EQ(0x4041, TextToShortCut("Ctrl+Ctrl+A", keyboard));
  EXPECT_EQ(0xC041, TextToShortCut("ctrl+ALT+a", keyboard));
  EXPECT_EQ(0x4022, TextToShortCut("Ctrl+pgdn", keyboard));
}

TEST(HotKeyText, NoKeyIsNoShortCut) {
  FakeKeyboard keyboard;
  EXPECT_EQ("", ShortCutToText(0, keyboard));
  EXPECT_EQ("", ShortCutToText(0x8000, keyboard));  // modifiers without a key
  EXPECT_EQ("", ShortCutToText(0x80FF, keyboard));  // a key the layout does not name
  for (const char* text : {"", "Alt+", "Ctrl+Alt+", "Shift+Ctrl+Alt+", "Foo", "Alt+Foo", "Alt+1+",
                           "F0", "F25", "Alt 1", " Alt+1"}) {
    EXPECT_EQ(0, TextToShortCut(text, keyboard)) << text;
  }
}

TEST(HotKeyText, LayoutNames) {
  FakeKeyboard keyboard;
  EXPECT_EQ(0x80C0, TextToShortCut("Alt+`", keyboard));
  EXPECT_EQ("Alt+`", ShortCutToText(0x80C0, keyboard));
  EXPECT_EQ(0x6010, TextToShortCut("Ctrl+Shift+Shift", keyboard));
  EXPECT_EQ(0x40BF, TextToShortCut("Ctrl+/", keyboard));
  EXPECT_EQ(0x406F, TextToShortCut("Ctrl+Num /", keyboard));

  keyboard.names.erase(0xC0);
  EXPECT_EQ(0, TextToShortCut("Alt+`", keyboard));

  // A layout may give a key with a fixed name the name of another key; the text still
  // reads as the key that writes it.
  keyboard.names[0x2D] = "Num 0";
  EXPECT_EQ(0x2D, TextToShortCut("Ins", keyboard));
  EXPECT_EQ(0x60, TextToShortCut("Num 0", keyboard));
}

TEST(HotKeyText, EveryNamedKeyRoundTrips) {
  FakeKeyboard keyboard;
  const std::pair<int, const char*> kFixed[] = {
      {0x08, "BkSp"}, {0x09, "Tab"},   {0x0D, "Enter"}, {0x1B, "Esc"},  {0x20, "Space"},
      {0x21, "PgUp"}, {0x22, "PgDn"},  {0x23, "End"},   {0x24, "Home"}, {0x25, "Left"},
      {0x26, "Up"},   {0x27, "Right"}, {0x28, "Down"},  {0x2D, "Ins"},  {0x2E, "Del"}};
  for (const auto& [key, name] : kFixed)
    EXPECT_EQ(name, ShortCutToText(static_cast<uint16_t>(key), keyboard));
  for (int n = 1; n <= 24; ++n)
    EXPECT_EQ("F" + std::to_string(n), ShortCutToText(static_cast<uint16_t>(0x6F + n), keyboard));

  int named = 0;
  for (int key = 1; key <= 0xFF; ++key) {
    for (uint16_t modifiers : {0x0000, 0x2000, 0x4000, 0x8000, 0xE000}) {
      uint16_t code = static_cast<uint16_t>(modifiers | key);
      std::string text = ShortCutToText(code, keyboard);
      if (text.empty())
        continue;
      ++named;
      EXPECT_EQ(code, TextToShortCut(text, keyboard)) << text;
    }
  }
  // Letters, digits, F keys, fixed names and the layout's names, each with five modifiers.
  EXPECT_EQ(5 * (26 + 10 + 24 + 15 + static_cast<int>(keyboard.names.size())), named);
}

}  // namespace
