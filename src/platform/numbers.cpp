// Integers and reals to and from the text of the program's files.
#include "platform/numbers.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <iterator>

namespace {

constexpr int kRealDigits = 15;

// from_chars takes a minus sign but no plus sign.
std::string_view WithoutPlus(std::string_view text) {
  return text.starts_with('+') && !text.starts_with("+-") ? text.substr(1) : text;
}

// True when a conversion took the whole text, and the text was not empty.
bool TookAll(std::string_view text, std::from_chars_result result) {
  return !text.empty() && result.ec == std::errc() && result.ptr == text.data() + text.size();
}

}  // namespace

std::optional<int> ParseInteger(std::string_view text) {
  text = WithoutPlus(text);
  const bool negative = text.starts_with('-');
  text.remove_prefix(negative ? 1 : 0);
  int base = 10;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    base = 16;
    text.remove_prefix(2);
  }
  const uint64_t limit = negative ? uint64_t{INT_MAX} + 1 : INT_MAX;
  uint64_t magnitude = 0;
  if (!TookAll(text, std::from_chars(text.data(), text.data() + text.size(), magnitude, base)) ||
      magnitude > limit) {
    return std::nullopt;
  }
  const int64_t value = static_cast<int64_t>(magnitude);
  return static_cast<int>(negative ? -value : value);
}

std::optional<double> ParseReal(std::string_view text) {
  text = WithoutPlus(text);
  // from_chars knows only ".". The copy stays on the stack for any number this program
  // writes, so reading a file of a million numbers allocates nothing for them.
  char short_copy[64];
  std::string long_copy;
  char* copy = short_copy;
  if (text.size() > std::size(short_copy)) {
    long_copy.resize(text.size());
    copy = long_copy.data();
  }
  std::replace_copy(text.begin(), text.end(), copy, ',', '.');
  const std::string_view number(copy, text.size());
  double value = 0;
  if (!TookAll(number, std::from_chars(number.data(), number.data() + number.size(), value)) ||
      !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::string FormatReal(double value, char separator) {
  char text[32];
  const auto result =
      std::to_chars(text, std::end(text), value, std::chars_format::general, kRealDigits);
  std::string formatted(text, result.ptr);
  std::ranges::replace(formatted, '.', separator);
  return formatted;
}
