// Text in the fixed-size character fields of RAS records, which RAS may leave unterminated.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

// The field's text up to its first NUL, or the whole field when RAS left none.
template <size_t N>
std::string FieldText(const char (&field)[N]) {
  return std::string(field, strnlen(field, N));
}

// Stores `text` in the field, cut to fit, always NUL-terminated.
template <size_t N>
void CopyField(char (&field)[N], const std::string& text) {
  const size_t length = std::min(text.size(), N - 1);
  std::memcpy(field, text.data(), length);
  field[length] = '\0';
}
