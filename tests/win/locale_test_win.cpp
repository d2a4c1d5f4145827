// The long time format of a date-time through the system's locale.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/date_time.h"
#include "platform/win_ports.h"

namespace {

TEST(LocaleWin, LongTimeShowsTheTimeOfDayOfTheDateTimeGiven) {
  std::unique_ptr<Locale> locale = MakeWinLocale();
  const std::string evening = locale->LongTime(ToDateTime({2026, 12, 25, 18, 5, 9}));
  const std::string morning = locale->LongTime(ToDateTime({2026, 12, 25, 6, 5, 9}));
  EXPECT_NE(std::string::npos, evening.find("05:09")) << evening;
  EXPECT_NE(std::string::npos, morning.find("05:09")) << morning;
  EXPECT_NE(evening, morning);
}

}  // namespace
