// The user's regional settings, from the system.
#include <windows.h>

#include "platform/date_time.h"
#include "platform/win_ports.h"

namespace {

class WinLocale : public Locale {
 public:
  std::string LongTime(double date_time) override {
    const CalendarTime time = FromDateTime(date_time);
    SYSTEMTIME system{};
    system.wYear = static_cast<WORD>(time.year);
    system.wMonth = static_cast<WORD>(time.month);
    system.wDay = static_cast<WORD>(time.day);
    system.wDayOfWeek = static_cast<WORD>(time.day_of_week);
    system.wHour = static_cast<WORD>(time.hour);
    system.wMinute = static_cast<WORD>(time.minute);
    system.wSecond = static_cast<WORD>(time.second);
    system.wMilliseconds = static_cast<WORD>(time.millisecond);
    return FormatTime(&system);
  }

  char DecimalSeparator() override {
    char buffer[8] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof(buffer));
    return buffer[0] ? buffer[0] : '.';
  }

 private:
  // The current time when `time` is null.
  static std::string FormatTime(const SYSTEMTIME* time) {
    char buffer[80] = {};
    int length = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, time, nullptr, buffer, sizeof(buffer));
    return length > 0 ? std::string(buffer) : std::string();
  }
};

}  // namespace

std::unique_ptr<Locale> MakeWinLocale() {
  return std::make_unique<WinLocale>();
}
