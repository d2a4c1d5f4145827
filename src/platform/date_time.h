// Date-times as the system's clock and formats use them, and their calendar fields.
#pragma once

// A date-time is a count of days since midnight at the start of 30 December 1899, local
// time: the whole part is the date, the fraction the time of day. Only date-times on or
// after that day are supported.
struct CalendarTime {
  int year = 1899;
  int month = 12;  // 1 to 12
  int day = 30;    // 1 to 31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
  int day_of_week = 6;  // 0 Sunday to 6 Saturday; ignored by ToDateTime
};

double ToDateTime(const CalendarTime& time);
// Rounds to the nearest millisecond.
CalendarTime FromDateTime(double date_time);

// The number of days of the month, 28 to 31.
int DaysInMonth(int year, int month);
