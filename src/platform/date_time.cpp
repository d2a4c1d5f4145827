// Date-times to calendar fields and back, on the proleptic Gregorian calendar.
#include "platform/date_time.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr int64_t kMsPerDay = 86400000;

// Days since 1 March of year 0 from a date; the year starts in March so that leap days
// fall at its end.
constexpr int64_t DaysFromCivil(int year, int month, int day) {
  const int64_t y = month <= 2 ? year - 1 : year;
  const int64_t day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  return y * 365 + y / 4 - y / 100 + y / 400 + day_of_year;
}

constexpr int64_t kDayZero = DaysFromCivil(1899, 12, 30);

void CivilFromDays(int64_t days, CalendarTime& time) {
  const int64_t era = days / 146097;
  const int64_t day_of_era = days - era * 146097;
  const int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const int64_t day_of_year =
      day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const int64_t month_index = (5 * day_of_year + 2) / 153;
  time.day = static_cast<int>(day_of_year - (153 * month_index + 2) / 5 + 1);
  time.month = static_cast<int>(month_index < 10 ? month_index + 3 : month_index - 9);
  time.year = static_cast<int>(year_of_era + era * 400 + (time.month <= 2 ? 1 : 0));
}

}  // namespace

double ToDateTime(const CalendarTime& time) {
  const int64_t days = DaysFromCivil(time.year, time.month, time.day) - kDayZero;
  const int64_t ms =
      ((time.hour * 60 + time.minute) * 60 + time.second) * int64_t{1000} + time.millisecond;
  return static_cast<double>(days) + static_cast<double>(ms) / kMsPerDay;
}

CalendarTime FromDateTime(double date_time) {
  const int64_t total_ms = std::llround(date_time * kMsPerDay);
  const int64_t days = total_ms / kMsPerDay;
  int64_t ms = total_ms % kMsPerDay;
  CalendarTime time;
  CivilFromDays(days + kDayZero, time);
  time.day_of_week = static_cast<int>((days + 6) % 7);
  time.millisecond = static_cast<int>(ms % 1000);
  ms /= 1000;
  time.second = static_cast<int>(ms % 60);
  ms /= 60;
  time.minute = static_cast<int>(ms % 60);
  time.hour = static_cast<int>(ms / 60);
  return time;
}

int DaysInMonth(int year, int month) {
  const int next_year = month == 12 ? year + 1 : year;
  const int next_month = month == 12 ? 1 : month + 1;
  return static_cast<int>(DaysFromCivil(next_year, next_month, 1) - DaysFromCivil(year, month, 1));
}
