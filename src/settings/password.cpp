// The password encoding shared by the registry settings and Entries.ini.
#include "settings/password.h"

namespace {

constexpr unsigned char kShift = 0x81;

std::string Shift(const std::string& text, unsigned char by) {
  std::string out = text;
  for (char& c : out)
    c = static_cast<char>(static_cast<unsigned char>(c) + by);
  return out;
}

}  // namespace

std::string EncodePassword(const std::string& text) {
  return Shift(text, kShift);
}

std::string DecodePassword(const std::string& text) {
  return Shift(text, static_cast<unsigned char>(256 - kShift));
}
