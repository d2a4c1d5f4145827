// Texts in and out of the fixed character fields of RAS records.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace rassim {

// Cuts the text to the field and always terminates it.
template <size_t N>
void CopyField(char (&field)[N], std::string_view text) {
  const size_t length = std::min(text.size(), N - 1);
  std::copy_n(text.data(), length, field);
  field[length] = '\0';
}

// Reads up to the first NUL, but never past the field, terminated or not.
template <size_t N>
std::string FieldText(const char (&field)[N]) {
  return std::string(field, std::find(field, field + N, '\0'));
}

}  // namespace rassim
