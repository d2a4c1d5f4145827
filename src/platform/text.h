// Small text helpers shared by the program, the RAS substitute and the tests. Letter case
// is folded for A-Z only: names from files and the registry compare the same under every
// code page.
#pragma once

#include <string>
#include <string_view>

char AsciiLower(char c);
std::string AsciiLowerCase(std::string_view text);
// Equal but for the letter case of A-Z.
bool SameText(std::string_view a, std::string_view b);
// Without blanks, tabs and line breaks at either end.
std::string_view Trim(std::string_view text);
