// Port: the user's regional settings.
#pragma once

#include <string>

class Locale {
 public:
  virtual ~Locale() = default;
  // The time of day of a date-time (see platform/date_time.h) in the user's long time
  // format, without the date.
  virtual std::string LongTime(double date_time) = 0;
  // The date of a date-time in the user's short date format.
  virtual std::string ShortDate(double date_time) = 0;
  // The decimal separator of numbers, such as '.' or ','.
  virtual char DecimalSeparator() = 0;
  // The separator of list items, such as "," or ";", in UTF-8: what this computer's
  // spreadsheet takes as the separator of a CSV file's fields.
  virtual std::string ListSeparator() = 0;
  // Text of the ANSI code page (entry names, as RAS gives them) in UTF-8.
  virtual std::string AnsiToUtf8(const std::string& text) = 0;
};
