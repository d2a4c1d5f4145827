// Small conversions shared by the Win32 adapters and views.
#include <windows.h>

#include "platform/date_time.h"
#include "platform/win_helpers.h"

std::string SystemErrorText(unsigned long code) {
  char buffer[512] = {};
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                code, 0, buffer, sizeof(buffer), nullptr);
  std::string text(buffer, length);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
    text.pop_back();
  }
  return text.empty() ? "System error " + std::to_string(code) + "." : text;
}

void ToSystemTime(double date_time, SYSTEMTIME& system) {
  const CalendarTime time = FromDateTime(date_time);
  system = SYSTEMTIME{};
  system.wYear = static_cast<WORD>(time.year);
  system.wMonth = static_cast<WORD>(time.month);
  system.wDay = static_cast<WORD>(time.day);
  system.wDayOfWeek = static_cast<WORD>(time.day_of_week);
  system.wHour = static_cast<WORD>(time.hour);
  system.wMinute = static_cast<WORD>(time.minute);
  system.wSecond = static_cast<WORD>(time.second);
  system.wMilliseconds = static_cast<WORD>(time.millisecond);
}

double FromSystemTime(const SYSTEMTIME& system) {
  return ToDateTime({system.wYear, system.wMonth, system.wDay, system.wHour, system.wMinute,
                     system.wSecond, system.wMilliseconds});
}
