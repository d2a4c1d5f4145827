// Hotkey texts as anyone may have typed them into the registry: whatever a text reads as
// writes as a text that reads the same, in any letter case, and every code's text reads back
// as a code of that text.
#include "fakes/fake_keyboard.h"
#include "fuzz_check.h"
#include "settings/hotkey_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FakeKeyboard keyboard;
  const std::string text = FuzzText(data, size);
  const uint16_t code = TextToShortCut(text, keyboard);
  FUZZ_EXPECT(TextToShortCut(ShortCutToText(code, keyboard), keyboard) == code);
  FUZZ_EXPECT(TextToShortCut(AsciiLowerCase(text), keyboard) == code);
  if (size >= 2) {
    // Two keys of one name read as the lower one, so a code comes back only by its text.
    const std::string written =
        ShortCutToText(static_cast<uint16_t>(data[0] | data[1] << 8), keyboard);
    FUZZ_EXPECT(ShortCutToText(TextToShortCut(written, keyboard), keyboard) == written);
  }
  return 0;
}
