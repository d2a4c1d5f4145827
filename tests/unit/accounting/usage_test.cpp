// The Usage window's figures from both record files.
#include "accounting/usage.h"

#include <gtest/gtest.h>

#include "accounting/sessions_file.h"
#include "accounting/time_records.h"
#include "fakes/fake_app_ports.h"
#include "platform/date_time.h"

namespace {

const std::string kSessions = "C:\\Tarvolin\\Sessions.csv";
const std::string kTimeCount = "C:\\Tarvolin\\TimeCount.CSV";
constexpr double kHours = 1e-6;  // the digits a start keeps

// Sessions.csv holds three sessions; TimeCount.CSV those and two older ones, one of them
// across the end of February.
TEST(UsageTest, BothFilesMakeTheBarsDaysAndMonthsASessionAcrossAnEdgeSharedByItsTime) {
  FakeFiles files;
  FakeLocale locale;
  const std::string drop =
      "2027-03-10T22:00:00.000+01:00,2027-03-11T02:00:00.000+01:00,14400.000,4000,400,8,"
      "Caf\xC3\xA9,dropped by the line,619\r\n";
  const std::string user =
      "2027-03-11T09:00:00.000+01:00,2027-03-11T10:00:00.000+01:00,3600.000,1000,100,2,"
      "Caf\xC3\xA9,hung up by the user\r\n";
  const std::string other =
      "2027-04-01T09:00:00.000+02:00,2027-04-01T09:30:00.000+02:00,1800.000,10,1,1,Work,"
      "\"dropped, \"\"twice\"\"\"\r\n";
  // Written out of order, as after the clock was set back.
  files.content[kSessions] = std::string(kSessionsFileStart) + user + drop + other;
  std::string text;
  for (const TimeRecord& r : {TimeRecord{ToDateTime({2027, 2, 28, 23}), 2.0 / 24, 4, "Caf\xE9"},
                              TimeRecord{ToDateTime({2026, 3, 5, 12}), 1.0 / 24, 1, "Work"},
                              TimeRecord{ToDateTime({2027, 3, 10, 22}), 4.0 / 24, 8, "Caf\xE9"},
                              TimeRecord{ToDateTime({2027, 3, 11, 9}), 1.0 / 24, 2, "Caf\xE9"}})
    text += FormatTimeRecord(r, ',');
  locale.decimal = ',';
  files.content[kTimeCount] = text;
  files.piece_size = 7;

  UsageHistory history;
  const std::vector<UsageSession>& sessions = history.sessions;
  std::string error;
  uint64_t read = 0;
  ASSERT_TRUE(ReadUsage(
      files, locale, {kSessions, kTimeCount},
      [&](uint64_t done) {
        read = done;
        return true;
      },
      history, error));
  EXPECT_EQ(read, files.content[kSessions].size() + text.size());
  ASSERT_EQ(sessions.size(), 5u);  // in order of start, each once
  EXPECT_EQ(sessions[0].entry, "Work");
  EXPECT_FALSE(sessions[0].has_volume);
  EXPECT_EQ(sessions[1].entry, "Caf\xC3\xA9");
  EXPECT_EQ(sessions[1].line,
            "2027-02-28T23:00:00.000,2027-03-01T01:00:00.000,7200.000,,,4.0000,Caf\xC3\xA9,,,");
  EXPECT_EQ(std::string(sessions[2].line) + "\r\n", drop);
  EXPECT_EQ(sessions[2].ras_code, 619u);
  EXPECT_EQ(sessions[3].ras_code, 0u);  // a line of eight fields
  EXPECT_TRUE(sessions[2].has_volume);
  EXPECT_EQ(sessions[4].reason, "dropped, \"twice\"");

  // March by day for Café: half of the old session on the 1st, the drop shared 2:2 between
  // the 10th and the 11th, where the hour of the 11th joins it.
  const std::vector<UsageBar> days =
      UsageBars(sessions, "Caf\xC3\xA9", UsageSpan::kDaysOfMonth, 2027, 3);
  ASSERT_EQ(days.size(), 31u);
  EXPECT_EQ(days[0].from, ToDateTime({2027, 3, 1}));
  EXPECT_NEAR(days[0].hours, 1, kHours);
  EXPECT_NEAR(static_cast<double>(days[0].cost), 2, kHours);
  EXPECT_EQ(days[0].received, 0u);
  EXPECT_TRUE(days[0].volume_unknown);  // the old session's
  EXPECT_FALSE(days[0].volume_known);
  EXPECT_TRUE(days[9].volume_known);
  EXPECT_FALSE(days[9].volume_unknown);
  EXPECT_NEAR(days[9].hours, 2, kHours);
  EXPECT_EQ(days[9].received, 2000u);
  EXPECT_NEAR(days[10].hours, 3, kHours);
  EXPECT_EQ(days[10].received, 3000u);
  EXPECT_EQ(days[10].sent, 300u);
  EXPECT_NEAR(days[11].hours, 0, kHours);

  // Twelve months up to April 2027, all connections: March 2026 holds Work's old hour.
  const std::vector<UsageBar> months = UsageBars(sessions, "", UsageSpan::kTwelveMonths, 2027, 4);
  ASSERT_EQ(months.size(), 12u);
  EXPECT_EQ(months[0].from, ToDateTime({2026, 5, 1}));
  EXPECT_EQ(months[11].to, ToDateTime({2027, 5, 1}));
  EXPECT_NEAR(months[9].hours, 1, kHours);  // February's half
  EXPECT_NEAR(months[10].hours, 6, kHours);
  EXPECT_EQ(months[11].received, 10u);
  EXPECT_NEAR(UsageBars(sessions, "Work", UsageSpan::kTwelveMonths, 2027, 4)[10].hours, 0, kHours);
  EXPECT_NEAR(UsageBars(sessions, "", UsageSpan::kTwentyFourMonths, 2027, 4)[10].hours, 1, kHours);

  // The drops of March, and March exported as Sessions.csv has it.
  const auto in_march = SessionsIn(sessions, "", days);
  ASSERT_EQ(in_march.size(), 2u);
  EXPECT_TRUE(EndedByTheLine(*in_march[0]));
  EXPECT_FALSE(EndedByTheLine(*in_march[1]));
  EXPECT_FALSE(EndedByTheLine(sessions[4]));
  EXPECT_EQ(ExportSessions(in_march), kSessionsFileStart + drop + user);

  // Told to stop, the reading gives up at once, with nothing to say.
  int pieces = 0;
  EXPECT_FALSE(ReadUsage(
      files, locale, {kSessions, kTimeCount}, [&](uint64_t) { return ++pieces < 2; }, history,
      error));
  EXPECT_EQ(pieces, 2);
  EXPECT_TRUE(error.empty());

  // A file that cannot be read is said; one that does not exist holds nothing.
  files.unreadable.insert(kTimeCount);
  EXPECT_FALSE(ReadUsage(files, locale, {kSessions, kTimeCount}, nullptr, history, error));
  EXPECT_FALSE(error.empty());
  files.content.clear();
  EXPECT_TRUE(ReadUsage(files, locale, {kSessions, "C:\\none"}, nullptr, history, error));
  EXPECT_TRUE(sessions.empty());
}

// Sessions of one start, as two connections dialled at once may leave: each line of
// "TimeCount.CSV" finds its own in "Sessions.csv", in whatever order, or else is added.
TEST(UsageTest, EachSessionOfTimeCountCsvIsMatchedOnceWhateverTheOrderOfEqualStarts) {
  FakeFiles files;
  FakeLocale locale;
  const double start = ToDateTime({2027, 3, 10, 22});
  std::string fuller = kSessionsFileStart, older;
  for (const char* entry : {"X", "Y", "Z"})
    fuller += FormatSessionLine({start, 1.0 / 24, 1, entry}, entry);
  for (const char* entry : {"Y", "X", "W", "Z"})
    older += FormatTimeRecord({start, 1.0 / 24, 1, entry}, '.');
  older += FormatTimeRecord({start + 1, 1.0 / 24, 1, "Caf\xE9"}, '.');
  files.content[kSessions] = fuller;
  files.content[kTimeCount] = older;
  UsageHistory history;
  std::string error;
  ASSERT_TRUE(ReadUsage(files, locale, {kSessions, kTimeCount}, nullptr, history, error));
  std::vector<std::string> entries;
  for (const UsageSession& session : history.sessions)
    entries.emplace_back(session.entry);
  EXPECT_EQ(entries, (std::vector<std::string>{"X", "Y", "Z", "W", "Caf\xC3\xA9"}));
  EXPECT_FALSE(history.sessions[3].has_volume);
}

}  // namespace
