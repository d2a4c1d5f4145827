// Numbers as the program's text files hold them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Decimal with an optional sign, or hexadecimal after "0x"; nullopt for anything else,
// including values outside the range of int.
std::optional<int> ParseInteger(std::string_view text);

// A finite real in the general form, with an optional sign, taking either "." or "," as
// the decimal separator whatever the user's setting, so that a file written under one
// regional setting still reads under another. The whole text must be the number: nullopt
// for an empty text, blanks, thousands separators, trailing characters or an infinity.
std::optional<double> ParseReal(std::string_view text);

// The shortest general form of up to 15 significant digits, without thousands separators,
// with `separator` as the decimal separator.
std::string FormatReal(double value, char separator);
