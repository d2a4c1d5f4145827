// The request the automatic-dial companion sends the running program: a WM_COPYDATA to
// the window titled kMainWindowTitle, tagged kDialRequestTag, whose data is the entry's
// name (without a terminating zero). The program answers TRUE when it took the request
// (the entry is in its list and it was asked to dial it), FALSE otherwise.
#pragma once

constexpr const char* kMainWindowTitle = "Tarvolin";
constexpr unsigned long kDialRequestTag = 0x54564E44;  // "TVND"
