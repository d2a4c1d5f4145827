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

  std::string ListSeparator() override {
    wchar_t buffer[8] = {};  // the system allows four characters
    if (!GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SLIST, buffer, 8) || !buffer[0])
      return ",";
    return Utf8(buffer);
  }

  std::string AnsiToUtf8(const std::string& text) override {
    if (text.empty())
      return text;
    const int size = static_cast<int>(text.size());
    std::wstring wide(
        static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
    return Utf8(wide);
  }

 private:
  static std::string Utf8(const std::wstring& wide) {
    const int wide_size = static_cast<int>(wide.size());
    std::string utf8(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_size,
                                                             nullptr, 0, nullptr, nullptr)),
                     '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_size, utf8.data(),
                        static_cast<int>(utf8.size()), nullptr, nullptr);
    return utf8;
  }

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
