// The password encoding: exact round trips, and stored forms the registry and profile
// files keep intact.
#include "settings/password.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string AllPrintable() {
  std::string text;
  for (char c = 0x20; c <= 0x7E; ++c)
    text += c;
  return text;
}

TEST(Password, RoundTripsEveryByte) {
  std::string all_bytes;
  for (int b = 0; b < 256; ++b)
    all_bytes += static_cast<char>(b);
  EXPECT_EQ(all_bytes, DecodePassword(EncodePassword(all_bytes)));
  EXPECT_EQ(AllPrintable(), DecodePassword(EncodePassword(AllPrintable())));
  EXPECT_EQ("", EncodePassword(""));
  EXPECT_EQ("", DecodePassword(""));
  for (const std::string text : {" secret", "secret ", "  ", "\"quoted\"", "'", "\"", " \" "}) {
    EXPECT_EQ(text.size(), EncodePassword(text).size()) << text;
    EXPECT_EQ(text, DecodePassword(EncodePassword(text))) << text;
  }
}

// Registry values and Entries.ini files written by earlier runs hold these bytes: a
// changed encoding would lose every stored password.
TEST(Password, StoredBytesOfAKnownPassword) {
  EXPECT_EQ("\xD4\xE6\xE4\xF3\xE6\xF5\xA1\xB2\xA2", EncodePassword("Secret 1!"));
  EXPECT_EQ("Secret 1!", DecodePassword("\xD4\xE6\xE4\xF3\xE6\xF5\xA1\xB2\xA2"));
  // Bytes past 0xFF wrap around.
  EXPECT_EQ(std::string("\x00\x41", 2), EncodePassword("\x7F\xC0"));
}

TEST(Password, PrintableTextEncodesToBytesThatStorageKeeps) {
  // Profile files trim blanks and strip quotes at either end, and a registry text ends at
  // NUL, so none of them may appear in a stored password.
  const std::string kFragile = std::string("\0 \t\r\n\"'", 7);
  for (char c : AllPrintable()) {
    std::string encoded = EncodePassword(std::string(1, c));
    EXPECT_EQ(std::string::npos, kFragile.find(encoded[0])) << "character " << c;
  }
}

}  // namespace
