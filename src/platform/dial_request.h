// The request the automatic-dial companion sends the running program: a WM_COPYDATA to
// the window of class kMainWindowClass, tagged kDialRequestTag, whose data is the entry's
// name (without a terminating zero). The program answers with a DialRequestAnswer.
#pragma once

constexpr const char* kMainWindowTitle = "Tarvolin";
// The main window is found by its class: any window may carry the program's title.
constexpr const char* kMainWindowClass = "TTarvolinMainForm";
constexpr unsigned long kDialRequestTag = 0x54564E44;  // "TVND"

enum DialRequestAnswer : long {
  kDialRequestUnknown = 0,   // no such entry in the list, or no answer at all
  kDialRequestDialing = 1,   // a dial of the entry started or was under way already
  kDialRequestOnline = 2,    // the entry is online already
  kDialRequestDeclined = 3,  // another line is up or dialing, or the budget or the user said no
};
