// Small conversions shared by the Win32 adapters and views (defined in win_helpers_win.cpp).
#pragma once

#include <string>

// The system's own time record, as <windows.h> declares it.
struct _SYSTEMTIME;

// The system's text for an error code, without the trailing line break.
std::string SystemErrorText(unsigned long code);

// A date-time (see platform/date_time.h) as the system's time record, and back.
void ToSystemTime(double date_time, _SYSTEMTIME& time);
double FromSystemTime(const _SYSTEMTIME& time);
