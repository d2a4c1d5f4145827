// The Usage window's choices, charts, tables and export name.
#include "accounting/usage_model.h"

#include <gtest/gtest.h>

#include "accounting/sessions_file.h"
#include "platform/date_time.h"

namespace {

// Adds a session of two MB received and half a MB sent, or of a volume not known.
void Add(UsageHistory& history, CalendarTime start, double hours, const std::string& entry,
         const std::string& reason, uint32_t ras_code = 0, bool volume = true) {
  history.sessions.push_back({ToDateTime(start), hours * 3600, hours, volume ? 2000000u : 0u,
                              volume ? 500000u : 0u, volume, history.Keep(entry),
                              history.Keep(reason), ras_code, history.Keep(entry + "," + reason)});
}

// Today is 8 January 2027: the months offered cross the turn of the year, and a day's
// limit is the period's shared by the days of the month shown.
TEST(UsageModelTest, ChoicesPickTheRangeAndTheConnectionWhoseBudgetDrawsTheLimits) {
  UsageModel model({{"Home", "Home", {62, 31, 3100}}, {"Work", "Work", {}}},
                   ToDateTime({2027, 1, 8, 12}), {";", ','});
  EXPECT_EQ(model.ConnectionChoices(),
            (std::vector<std::string>{"All connections", "Home", "Work"}));
  const auto months = model.MonthChoices();
  ASSERT_EQ(months.size(), 24u);
  EXPECT_EQ(months[0], "January 2027");
  EXPECT_EQ(months[1], "December 2026");
  EXPECT_EQ(months[23], "February 2025");
  EXPECT_EQ(model.FigureRows().size(), 31u);  // this month's days while the files are read
  EXPECT_EQ(model.ExportFileName(), "Sessions 2027-01.csv");
  UsageHistory history;
  Add(history, {2026, 12, 3, 10}, 2, "Home", "dropped by the line", 619);
  Add(history, {2026, 12, 4, 10}, 1, "Work", "no answer to the keep-alive");
  Add(history, {2026, 12, 5, 10}, 1, "Home", "hung up by the user");
  Add(history, {2026, 12, 6, 10}, 1, "Home", "", 638);
  Add(history, {2027, 1, 2, 10}, 1, "Home", "lost during a sleep");
  model.SetSessions(std::move(history));

  // All connections, this month: no limit lines, one drop.
  auto charts = model.Charts();
  EXPECT_EQ(charts[UsageModel::kTimeChart].values.size(), 31u);
  EXPECT_FALSE(charts[UsageModel::kTimeChart].limit);
  ASSERT_EQ(model.DropRows().size(), 1u);
  EXPECT_EQ(model.DropRows()[0], (std::vector<std::string>{"2027-01-02 10:00:00", "01:00:00",
                                                           "lost during a sleep", ""}));
  EXPECT_EQ(model.ExportFileName(), "Sessions 2027-01.csv");

  // Home in December: a day's share of its limits; its drop and its error, not Work's drop.
  model.Choose(1, 0, 1);
  charts = model.Charts();
  ASSERT_EQ(charts[UsageModel::kTimeChart].values.size(), 31u);
  EXPECT_DOUBLE_EQ(charts[UsageModel::kTimeChart].values[2], 2);
  EXPECT_DOUBLE_EQ(*charts[UsageModel::kTimeChart].limit, 2);
  EXPECT_DOUBLE_EQ(*charts[UsageModel::kCostChart].limit, 1);
  EXPECT_DOUBLE_EQ(*charts[UsageModel::kVolumeChart].limit, 100);
  EXPECT_DOUBLE_EQ(charts[UsageModel::kVolumeChart].values[2], 2);
  EXPECT_DOUBLE_EQ(charts[UsageModel::kVolumeChart].stacked[2], 0.5);
  EXPECT_EQ(model.FigureRows()[2],
            (std::vector<std::string>{"2026-12-03", "02:00:00", "2,00", "2,0 MB", "0,5 MB"}));
  const auto drops = model.DropRows();
  ASSERT_EQ(drops.size(), 2u);
  EXPECT_EQ(drops[0][3], "619");
  EXPECT_EQ(drops[1][2], "");
  EXPECT_EQ(drops[1][3], "638");
  EXPECT_EQ(model.ExportText(false), std::string(kSessionsFileStart) +
                                         "Home,dropped by the line\r\nHome,hung up by the user\r\n"
                                         "Home,\r\n");
  EXPECT_EQ(model.ExportText(true),
            "\xEF\xBB\xBFStart;End;Seconds online;Bytes received;Bytes sent;Cost;\"Connection\";"
            "\"Ended\";RAS code;Budget bytes\r\nHome;dropped by the line\r\nHome;hung up by the "
            "user\r\nHome;\r\n");
  EXPECT_EQ(model.ExportFileName(), "Sessions 2026-12.csv");

  // Twelve months ending with this one, whatever month was chosen: the whole period's limit.
  model.Choose(1, 1, 5);
  EXPECT_FALSE(model.MonthChosen());
  charts = model.Charts();
  ASSERT_EQ(charts[UsageModel::kTimeChart].values.size(), 12u);
  EXPECT_DOUBLE_EQ(charts[UsageModel::kTimeChart].values[10], 4);
  EXPECT_DOUBLE_EQ(*charts[UsageModel::kTimeChart].limit, 62);
  EXPECT_EQ(model.FigureRows()[11][0], "2027-01");
  EXPECT_EQ(model.DropRows().size(), 3u);
  EXPECT_EQ(model.ExportFileName(), "Sessions 2026-02 to 2027-01.csv");

  // Work has no budget; a choice out of range is the first.
  model.Choose(2, 0, 1);
  EXPECT_FALSE(model.Charts()[UsageModel::kCostChart].limit);
  EXPECT_EQ(model.DropRows().size(), 1u);
  model.Choose(3, 3, 24);
  EXPECT_EQ(model.ConnectionChoices()[0], "All connections");
  EXPECT_EQ(model.FigureRows().size(), 31u);
  EXPECT_EQ(model.DropRows().size(), 1u);
}

// A day of sessions known only from "TimeCount.CSV" shows no volume, not 0, and a day
// where some are shows what is known, "+" after it; the chart marks both.
TEST(UsageModelTest, AVolumeNotKnownIsShownEmptyOrMarkedNeverAsZero) {
  UsageModel model({{"Home", "Home", {}}}, ToDateTime({2027, 1, 8, 12}), {",", '.'});
  UsageHistory history;
  Add(history, {2027, 1, 3, 10}, 1, "Home", "");
  Add(history, {2027, 1, 3, 20}, 1, "Home", "", 0, false);
  Add(history, {2027, 1, 4, 10}, 1, "Home", "", 0, false);
  model.SetSessions(std::move(history));
  const auto rows = model.FigureRows();
  EXPECT_EQ(rows[2],
            (std::vector<std::string>{"2027-01-03", "02:00:00", "2.00", "2.0 MB+", "0.5 MB+"}));
  EXPECT_EQ(rows[3], (std::vector<std::string>{"2027-01-04", "01:00:00", "1.00", "", ""}));
  EXPECT_EQ(rows[4][3], "0.0 MB");  // no session: nothing moved
  const UsageChart volume = model.Charts()[UsageModel::kVolumeChart];
  std::vector<bool> marked(31, false);
  marked[2] = marked[3] = true;
  EXPECT_EQ(volume.marked, marked);
  EXPECT_TRUE(model.Charts()[UsageModel::kTimeChart].marked.empty());
}

}  // namespace
