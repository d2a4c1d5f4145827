// End to end: the Usage window opened from each of the three menus, one at a time, closed
// by Esc; its choices of connection and range, its two tables, Export through the Save
// dialog, and a session that ends while it is open.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "accounting/sessions_file.h"
#include "accounting/time_records.h"
#include "commands/command_ids.h"
#include "driver.h"
#include "platform/date_time.h"
#include "screenshot_win.h"
#include "ui/usage_ids.h"

namespace {

constexpr const char* kPhonebook = "[Home]\nStepDelayMs=10\n[Work]\nStepDelayMs=10\n";

struct Made {
  TimeRecord record;
  bool in_sessions_csv = true;
};

// The sessions the test records before the program starts: one on each day of this month
// so far for Home (the first dropped by the line), half an hour for Work on the first, Home
// three months ago, and Home fourteen months ago in "TimeCount.CSV" alone.
std::vector<Made> MakeSessions(const CalendarTime& today) {
  const auto month_start = [&](int back) {
    const int at = today.year * 12 + today.month - 1 - back;
    return ToDateTime({at / 12, at % 12 + 1, 1});
  };
  std::vector<Made> made;
  const auto add = [&](double start, double hours, const char* entry, const char* reason,
                       uint64_t megabytes, bool fuller = true) {
    TimeRecord r{start, hours / 24, hours, entry};
    r.start_offset = r.end_offset = 0;
    r.received = megabytes * 1000000;
    r.sent = megabytes * 100000;
    r.reason = reason;
    made.push_back({r, fuller});
  };
  add(month_start(14) + 4 + 10.0 / 24, 1, "Home", "", 0, false);
  add(month_start(3) + 4 + 10.0 / 24, 1, "Home", "hung up by the user", 5);
  for (int day = 1; day <= today.day; ++day) {
    add(month_start(0) + day - 1 + 9.0 / 24, day % 3 + 1, "Home",
        day == 1 ? "dropped by the line" : "hung up by the user", 10 * day);
    if (day == 1)
      add(month_start(0) + 20.0 / 24, 0.5, "Work", "hung up by the user", 3);
  }
  return made;
}

std::vector<ListRow> Rows(Tarvolin& app, Hwnd window, int id) {
  return app.ListRowsOf(ChildOf(window, id));
}

void Choose(Hwnd window, int id, const std::string& text) {
  HWND combo = static_cast<HWND>(ChildOf(window, id));
  const LRESULT index =
      SendMessageA(combo, CB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(text.c_str()));
  ASSERT_NE(index, CB_ERR) << text;
  SendMessageA(combo, CB_SETCURSEL, index, 0);
  SendMessageA(static_cast<HWND>(window), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
}

// What the screen shows of the window once each of its charts shows bars.
Pixels WaitForBars(Hwnd window) {
  const COLORREF bar = GetSysColor(COLOR_HIGHLIGHT);
  const uint32_t pixel = GetRValue(bar) << 16 | GetGValue(bar) << 8 | GetBValue(bar);
  Pixels shown;
  EXPECT_TRUE(WaitUntil([&] {
    shown = Capture(window, true);
    for (int id : {IDC_USAGETIMECHART, IDC_USAGECOSTCHART, IDC_USAGEVOLUMECHART}) {
      RECT chart;
      GetWindowRect(static_cast<HWND>(ChildOf(window, id)), &chart);
      MapWindowPoints(nullptr, static_cast<HWND>(window), reinterpret_cast<POINT*>(&chart), 2);
      bool drawn = false;
      for (int y = chart.top; y < chart.bottom && !drawn; ++y) {
        for (int x = chart.left; x < chart.right && !drawn; ++x)
          drawn = (shown.At(x, y) & 0xFFFFFF) == pixel;
      }
      if (!drawn)
        return false;
    }
    return true;
  }));
  return shown;
}

// Answers the Save dialog with `path`; false when no such dialog came.
bool AnswerSaveDialog(Tarvolin& app, const std::string& path) {
  Hwnd dialog = app.WaitForTopLevel("Export Sessions");
  if (!dialog)
    return false;
  HWND name = static_cast<HWND>(ChildOf(dialog, 0x47C));  // the file name box
  if (HWND edit = FindWindowExA(name, nullptr, "Edit", nullptr))
    name = edit;
  if (!name)
    name = static_cast<HWND>(ChildOf(dialog, 0x480));
  SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  PostMessageA(static_cast<HWND>(dialog), WM_COMMAND, IDOK, 0);
  return WaitUntil([&] { return !IsWindow(static_cast<HWND>(dialog)); });
}

TEST(UsageE2E, OpenedFromEachMenuItShowsTheChosenRangeExportsItAndFollowsANewSession) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  const CalendarTime today{now.wYear, now.wMonth, now.wDay};
  const std::vector<Made> made = MakeSessions(today);
  std::string fuller = kSessionsFileStart, older;
  for (const Made& m : made) {
    if (m.in_sessions_csv)
      fuller += FormatSessionLine(m.record, m.record.entry);
    older += FormatTimeRecord(m.record, '.');
  }
  Tarvolin app;
  app.WriteFile("Sessions.csv", fuller);
  app.WriteFile("TimeCount.CSV", older);
  app.WriteFile("Entries.ini", "[Home]\r\nBudgetHours=60\r\nBudgetVolume=1500\r\n");
  ASSERT_TRUE(app.StartWith(kPhonebook));

  // The main menu's item; this month by day for all connections, the drop in its table.
  app.Command(IDM_USAGE1);
  Hwnd usage = app.WaitForTopLevel("Usage");
  ASSERT_NE(usage, nullptr);
  const std::string day_one = std::to_string(today.year) + "-" + (today.month < 10 ? "0" : "") +
                              std::to_string(today.month) + "-01";
  ASSERT_TRUE(WaitUntil([&] {
    const auto rows = Rows(app, usage, IDC_USAGEFIGURES);
    return !rows.empty() && rows[0].SubText == "02:30:00";
  }));
  EXPECT_EQ(Rows(app, usage, IDC_USAGEFIGURES).size(),
            static_cast<size_t>(DaysInMonth(today.year, today.month)));
  EXPECT_EQ(Rows(app, usage, IDC_USAGEFIGURES)[0].Text, day_one);
  const auto drops = Rows(app, usage, IDC_USAGEDROPS);
  ASSERT_EQ(drops.size(), 1u);
  EXPECT_EQ(drops[0].Text, day_one + " 09:00:00");
  EXPECT_EQ(drops[0].SubText, "02:00:00");

  // Esc closes it; the list menu's item opens it again, and the tray menu's only raises it.
  PostMessageA(static_cast<HWND>(ChildOf(usage, IDC_USAGEFIGURES)), WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(static_cast<HWND>(usage)); }));
  app.Command(IDM_USAGE2);
  usage = app.WaitForTopLevel("Usage");
  ASSERT_NE(usage, nullptr);
  // Minimised first, so that the raise shows.
  ShowWindowAsync(static_cast<HWND>(usage), SW_MINIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(static_cast<HWND>(usage)) != FALSE; }));
  app.Command(IDM_USAGE3);
  ASSERT_TRUE(WaitUntil([&] { return !IsIconic(static_cast<HWND>(usage)); }));
  EXPECT_EQ(app.FindTopLevel("Usage"), usage);

  // Work alone: its half hour on the first, no drop.
  ASSERT_TRUE(WaitUntil([&] { return WindowText(ChildOf(usage, IDC_USAGESTATUS)).empty(); }));
  Choose(usage, IDC_USAGECONNECTION, "Work");
  EXPECT_EQ(Rows(app, usage, IDC_USAGEFIGURES)[0].SubText, "00:30:00");
  EXPECT_TRUE(Rows(app, usage, IDC_USAGEDROPS).empty());

  // Home, with its budget's share of a day as lines over the bars.
  Choose(usage, IDC_USAGECONNECTION, "Home");
  EXPECT_EQ(Rows(app, usage, IDC_USAGEFIGURES)[0].SubText, "02:00:00");
  EXPECT_TRUE(Save(WaitForBars(usage), "usage"));

  // Home over 24 months: the month that "TimeCount.CSV" alone holds counts too.
  Choose(usage, IDC_USAGESPAN, "The last 24 months");
  auto months = Rows(app, usage, IDC_USAGEFIGURES);
  ASSERT_EQ(months.size(), 24u);
  EXPECT_EQ(months[23 - 14].SubText, "01:00:00");
  EXPECT_EQ(months[23 - 3].SubText, "01:00:00");
  EXPECT_FALSE(IsWindowEnabled(static_cast<HWND>(ChildOf(usage, IDC_USAGEMONTH))));

  // Export: Home's sessions of the 24 months, as Sessions.csv has them, oldest first.
  ClickChild(usage, IDC_USAGEEXPORT);
  const std::string exported = app.Dir() + "export.csv";
  ASSERT_TRUE(AnswerSaveDialog(app, exported));
  std::string expected = kSessionsFileStart;
  for (const Made& m : made) {
    if (m.record.entry == "Home") {
      TimeRecord r = m.record;
      if (!m.in_sessions_csv)  // known from TimeCount.CSV alone: no volume, no offsets
        r = {r.start, r.duration, r.expense, r.entry};
      expected += FormatSessionLine(r, r.entry, m.in_sessions_csv);
    }
  }
  EXPECT_TRUE(WaitUntil([&] { return app.ReadFile("export.csv") == expected; }))
      << app.ReadFile("export.csv");

  // A session that ends while the window is open counts in this month's row.
  const std::string before = months[23].SubText;
  app.Click(IDC_BTNDIAL);
  ASSERT_TRUE(WaitUntil([&] { return app.Online(); }));
  ASSERT_TRUE(WaitUntil([&] { return app.SessionSeconds() >= 2; }));
  app.Click(IDC_BTNHANGUP);
  EXPECT_TRUE(WaitUntil([&] {
    months = Rows(app, usage, IDC_USAGEFIGURES);
    return months.size() == 24 && months[23].SubText != before;
  }));
}

}  // namespace
