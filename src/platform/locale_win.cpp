// The user's regional settings, from the system.
#include <windows.h>

#include "platform/win_ports.h"

namespace {

class WinLocale : public Locale {
 public:
  std::string LongTimeNow() override {
    char buffer[80] = {};
    int length = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, buffer, sizeof(buffer));
    return length > 0 ? std::string(buffer) : std::string();
  }

  char DecimalSeparator() override {
    char buffer[8] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof(buffer));
    return buffer[0] ? buffer[0] : '.';
  }
};

}  // namespace

std::unique_ptr<Locale> MakeWinLocale() {
  return std::make_unique<WinLocale>();
}
