// The user's regional settings, from the system.
#include <windows.h>

#include "platform/win_helpers.h"
#include "platform/win_ports.h"

namespace {

class WinLocale : public Locale {
 public:
  std::string LongTime(double date_time) override {
    const SYSTEMTIME system = SystemTime(date_time);
    return FormatTime(&system);
  }

  std::string ShortDate(double date_time) override {
    const SYSTEMTIME system = SystemTime(date_time);
    char buffer[80] = {};
    const int length = GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &system, nullptr, buffer,
                                      sizeof(buffer));
    return length > 0 ? std::string(buffer) : std::string();
  }

  char DecimalSeparator() override {
    char buffer[8] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof(buffer));
    return buffer[0] ? buffer[0] : '.';
  }

 private:
  static SYSTEMTIME SystemTime(double date_time) {
    SYSTEMTIME system;
    ToSystemTime(date_time, system);
    return system;
  }

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
