// Integers and reals to and from the text of the program's files.
#include "platform/numbers.h"

#include <algorithm>
#include <cctype>
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

// The digits at `at`, up to the first other character, appended to `units`; returns how
// many there were.
std::size_t TakeDigits(const char*& at, const char* end, uint64_t& units) {
  const char* const first = at;
  for (; at != end; ++at) {
    const unsigned digit = static_cast<unsigned char>(*at) - unsigned{'0'};
    if (digit > 9) {
      break;
    }
    units = units * 10 + digit;
  }
  return static_cast<std::size_t>(at - first);
}

bool IsDecimalMark(char c, char mark) {
  const bool usable = !std::isdigit(static_cast<unsigned char>(mark)) && mark != '+' &&
                      mark != '-' && mark != 'e' && mark != 'E' && mark != '\0';
  return c == '.' || c == ',' || (usable && c == mark);
}

}  // namespace

// Digits in the order they come make the whole number `units`; dividing it by the power of
// ten of the fraction's length is one correctly rounded operation on exact doubles, so the
// result is the double nearest the decimal.
std::size_t ParsePlainDecimal(std::string_view text, double& value, char mark) {
  static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                            1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  constexpr uint64_t kExactLimit = uint64_t{1} << 53;
  constexpr std::size_t kSafeDigits = 19;  // no more can overflow 64 bits
  const bool negative = text.starts_with('-');
  const char* at = text.data() + (negative ? 1 : 0);
  const char* const end = text.data() + text.size();
  uint64_t units = 0;
  std::size_t digits = TakeDigits(at, end, units);
  std::size_t fraction = 0;
  if (at != end && IsDecimalMark(*at, mark)) {
    fraction = TakeDigits(++at, end, units);
    digits += fraction;
  }
  if (digits == 0 || digits > kSafeDigits || units > kExactLimit ||
      fraction >= std::size(kPowersOfTen)) {
    return 0;
  }
  const double magnitude = static_cast<double>(units) / kPowersOfTen[fraction];
  value = negative ? -magnitude : magnitude;
  return static_cast<std::size_t>(at - text.data());
}

std::size_t PlainDecimalLength(std::string_view text, char mark) {
  constexpr std::size_t kSafeDigits = 19;
  std::size_t at = text.starts_with('-') ? 1 : 0;
  const auto digits = [&text, &at] {
    const std::size_t first = at;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
      ++at;
    }
    return at - first;
  };
  std::size_t count = digits();
  if (at < text.size() && IsDecimalMark(text[at], mark)) {
    ++at;
    count += digits();
  }
  return count == 0 || count > kSafeDigits ? 0 : at;
}

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

std::optional<double> ParseReal(std::string_view text, char mark) {
  text = WithoutPlus(text);
  double value = 0;
  if (!text.empty() && ParsePlainDecimal(text, value, mark) == text.size()) {
    return value;
  }
  // from_chars knows only ".". The copy stays on the stack for any number this program
  // writes, so reading a file of a million numbers allocates nothing for them.
  char short_copy[64] = {};
  std::string long_copy;
  char* copy = short_copy;
  if (text.size() > std::size(short_copy)) {
    long_copy.resize(text.size());
    copy = long_copy.data();
  }
  std::transform(text.begin(), text.end(), copy,
                 [mark](char c) { return IsDecimalMark(c, mark) ? '.' : c; });
  const std::string_view number(copy, text.size());
  if (!TookAll(number, std::from_chars(number.data(), number.data() + number.size(), value)) ||
      !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

namespace {

// The 15 significant digits of `magnitude` (not below 0) into `digits`; returns how many of
// them lie before the point, at least 1, zeros put in front where it is below 1.
int SignificantDigits(double magnitude, std::string& digits) {
  char text[32];
  const auto result = std::to_chars(text, std::end(text), magnitude, std::chars_format::scientific,
                                    kRealDigits - 1);
  const std::string_view written(text, result.ptr);  // "d.ddddddddddddddde-05"
  const std::size_t e = written.find('e');
  digits = std::string(written.substr(0, 1)).append(written.substr(2, e - 2));
  std::string_view exponent = written.substr(e + 1);
  if (exponent.starts_with('+'))
    exponent.remove_prefix(1);
  int point = 0;
  std::from_chars(exponent.data(), exponent.data() + exponent.size(), point);
  if (++point < 1) {
    digits.insert(0, static_cast<std::size_t>(1 - point), '0');
    point = 1;
  }
  return point;
}

// Adds one to the last of `digits`, carrying; a carry out of the first makes one more digit
// before the point.
void AddOneToLast(std::string& digits, int& point) {
  for (std::size_t i = digits.size(); i > 0; --i) {
    if (digits[i - 1] != '9') {
      ++digits[i - 1];
      return;
    }
    digits[i - 1] = '0';
  }
  digits.insert(digits.begin(), '1');
  ++point;
}

}  // namespace

std::string FormatFixed(double value, int decimals, char separator) {
  if (!std::isfinite(value))
    return FormatReal(value, separator);
  std::string digits;
  int point = SignificantDigits(std::fabs(value), digits);
  const std::size_t kept = static_cast<std::size_t>(point + decimals);
  const bool up = kept < digits.size() && digits[kept] >= '5';
  digits.resize(kept, '0');
  if (up)
    AddOneToLast(digits, point);
  const bool zero = digits.find_first_not_of('0') == std::string::npos;
  std::string fixed(value < 0 && !zero ? "-" : "");
  fixed.append(digits, 0, static_cast<std::size_t>(point));
  if (decimals > 0)
    fixed.append(1, separator).append(digits, static_cast<std::size_t>(point));
  return fixed;
}

std::string FormatReal(double value, char separator) {
  char text[32];
  const auto result =
      std::to_chars(text, std::end(text), value, std::chars_format::general, kRealDigits);
  std::string formatted(text, result.ptr);
  std::ranges::replace(formatted, '.', separator);
  return formatted;
}
