// The password encoding shared by the registry settings and Entries.ini.
#pragma once

#include <string>

// Every byte is shifted by 0x81 (mod 256). That puts all printable ASCII characters on
// 0xA1-0xFF: no NUL to end a registry text early, and no blank, quote, tab or line break
// that the profile-file functions would trim, strip or cut, even at either end.
std::string EncodePassword(const std::string& text);
std::string DecodePassword(const std::string& text);
