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
};

}  // namespace

std::unique_ptr<Locale> MakeWinLocale() {
  return std::make_unique<WinLocale>();
}
