// Numbers as the program's text files hold them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Decimal with an optional sign, or hexadecimal after "0x"; nullopt for anything else,
// including values outside the range of int.
std::optional<int> ParseInteger(std::string_view text);

// A finite real in the general form, with an optional sign, taking "." or "," as the
// decimal separator whatever the user's setting, and `mark` as well (pass the user's own
// separator, which may be another character), so that a file written under one regional
// setting still reads under another. A `mark` that could be part of a number (a digit, a
// sign, "e") is ignored. The whole text must be the number: nullopt for an empty text,
// blanks, thousands separators, trailing characters or an infinity.
std::optional<double> ParseReal(std::string_view text, char mark = '.');

// The quick way for the usual case: a plain decimal at the start of `text` (an optional
// "-", digits and at most one "." or "," or `mark`) of at most 19 digits that make a whole number
// of at most 2^53, at most 22 of them after the separator, as FormatReal writes every number it
// does not give an exponent. Sets `value` as ParseReal reads those characters and returns their
// count; returns 0 when the text does not start with such a number.
std::size_t ParsePlainDecimal(std::string_view text, double& value, char mark = '.');
// The length of a plain decimal of at most 19 digits at the start of `text`, which
// ParseReal always reads, without reading its value; 0 when the text does not start with
// one.
std::size_t PlainDecimalLength(std::string_view text, char mark = '.');

// The shortest general form of up to 15 significant digits, without thousands separators,
// with `separator` as the decimal separator.
std::string FormatReal(double value, char separator);

// `value` with `decimals` places after `separator`, rounded half away from zero on its
// decimal value of 15 significant digits, as FormatReal writes it: 2.675 gives 2.68 though
// the binary value lies just below it. A value that rounds to zero has no minus sign.
std::string FormatFixed(double value, int decimals, char separator);
