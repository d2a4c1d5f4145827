// Text in the fixed-size character fields of RAS records, which RAS may leave unterminated.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

// The field's text up to its first NUL, or the whole field when RAS left none.
template <size_t N>
std::string FieldText(const char (&field)[N]) {
  return std::string(field, strnlen(field, N));
}

// Stores `text` in the field, cut to fit, always NUL-terminated.
template <size_t N>
void CopyField(char (&field)[N], std::string_view text) {
  const size_t length = std::min(text.size(), N - 1);
  std::copy_n(text.data(), length, field);
  field[length] = '\0';
}
