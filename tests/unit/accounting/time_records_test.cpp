// "TimeCount.CSV" and the checkpoint, against in-memory files.
#include "accounting/time_records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "accounting/sessions_file.h"
#include "fakes/fake_app_ports.h"
#include "platform/date_time.h"

namespace {

constexpr double kHour = 1.0 / 24;
constexpr double kTime = 1e-10;  // days; date-times near today resolve to a microsecond
constexpr double kMoney = 1e-8;
const std::string kCsv = "C:\\Tarvolin\\TimeCount.CSV";
const std::string kCheckpoint = "C:\\Tarvolin\\TimeCount.run";
const std::string kSessions = "C:\\Tarvolin\\Sessions.csv";
const std::string kHeld =
    "The process cannot access the file because it is being used by another process.";

double Dec(int day, int hour, int minute = 0) {
  return ToDateTime({2026, 12, day, hour, minute});
}

std::string Line(double start, double duration, double expense, const std::string& entry) {
  return FormatTimeRecord({start, duration, expense, entry}, '.');
}

// The checkpoint's line of such a session.
std::string Kept(double start, double duration, double expense, const std::string& entry) {
  return FormatCheckpointLine({start, duration, expense, entry}, '.');
}

TEST(TimeRecordLine, FourTabsBetweenFieldsTheUsersSeparatorAndEitherReadsBack) {
  const std::string line = FormatTimeRecord({46379.5, 1.0 / 48, 1.5, "My ISP"}, ',');
  EXPECT_EQ(line, "46379,5\t\t\t\t0,0208333333333333\t\t\t\t1,5\t\t\t\tMy ISP\r\n");
  const std::string text = line + "\r\n" + Line(1, 0.5, 2, "A\tB") +
                           "x\t\t\t\t1\t\t\t\t1\t\t\t\tA\n" + "1\t\t\t\t-1\t\t\t\t1\t\t\t\tA\n" +
                           "1\t\t\t2\t\t\t\t3\t\t\t\tA\n" + "1\t\t\t\t1\t\t\t\t1x\t\t\t\tA\n" +
                           "1\t\t\t\t1\t\t\t\t12345678901234567890,5\t\t\t\tLong";
  std::vector<TimeRecord> records;  // a record's entry lives only as long as its line
  TimeRecordReader reader([&](const TimeRecordView& r) {
    records.push_back({r.start, r.duration, r.Expense(), std::string(r.entry)});
  });
  reader.Feed(text.substr(0, 30));  // a line cut between two pieces
  reader.Feed(text.substr(30));
  reader.Finish();
  const std::vector<BadLine>& bad = reader.FirstBadLines();
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].start, 46379.5);
  EXPECT_NEAR(records[0].duration, 1.0 / 48, 1e-15);
  EXPECT_EQ(records[0].expense, 1.5);
  EXPECT_EQ(records[0].entry, "My ISP");
  EXPECT_EQ(records[1].entry, "A\tB");                    // the entry runs to the end of the line
  EXPECT_EQ(records[2].expense, 12345678901234567890.5);  // too long for the quick way
  ASSERT_EQ(bad.size(), 4u);                              // the empty line is passed over
  EXPECT_EQ(bad[0].number, 4u);
  EXPECT_EQ(bad[0].text, "x\t\t\t\t1\t\t\t\t1\t\t\t\tA");
}

class TimeRecordsTest : public testing::Test {
 protected:
  TimeRecordsTest() {
    table_[0] = {.EntryName = "A", .UserName = "", .Pwd = "", .InUse = true};
    table_[1] = {.EntryName = "B", .UserName = "", .Pwd = "", .InUse = true};
    plans_["A"].GeneralRate = 2;
  }
  std::vector<std::string> Load(double now) {
    auto plan_of = [this](const std::string& entry) {
      ++plan_requests_[entry];
      return plans_[entry];
    };
    return records_.LoadTimeRecords(table_, plan_of, now);
  }
  FakeFiles files_;
  FakeLocale locale_;
  TimeRecords records_{files_, locale_};
  TAccountTable table_;
  std::map<std::string, RatePlan> plans_;
  std::map<std::string, int> plan_requests_;
};

TEST_F(TimeRecordsTest, TodayAndBillingTakeSessionsThatEndedInThemOfOneBeforeOnlyItsPart) {
  plans_["A"].BillingDay = 20;
  plans_["B"].BillingDay = 31;  // November has no 31st: B's period began on its last day
  files_.content[kCsv] = Line(Dec(19, 10), kHour, 5, "A") +       // before the billing day
                         Line(Dec(19, 23), 2 * kHour, 10, "A") +  // one hour after it
                         Line(Dec(22, 23, 30), kHour, 9, "A") +   // half of it today
                         Line(Dec(23, 10), kHour, 3, "A") + Line(Dec(23, 23, 30), kHour, 4, "A") +
                         Line(Dec(23, 12), kHour, 7, "C") +  // no such entry
                         Line(ToDateTime({2026, 11, 29, 12}), kHour, 8, "B") +
                         Line(ToDateTime({2026, 11, 30, 12}), kHour, 6, "B");
  EXPECT_TRUE(Load(Dec(23, 15)).empty());
  EXPECT_NEAR(table_[0].TodayTime, 1.5 * kHour, kTime);
  EXPECT_NEAR(table_[0].TodayExpense, 3 + 0.5 * 2, kMoney);  // the part by A's plan
  EXPECT_NEAR(table_[0].BillingTime, 3 * kHour, kTime);      // not the one ending tomorrow
  EXPECT_NEAR(table_[0].BillingExpense, 2 + 9 + 3, kMoney);
  EXPECT_NEAR(table_[1].BillingExpense, 6, kMoney);
  EXPECT_EQ(table_[1].TodayTime, 0);
  EXPECT_EQ(plan_requests_, (std::map<std::string, int>{{"A", 1}, {"B", 1}}));
}

// A session that ended as the program started, just before midnight, reads from the file
// as ending a hair after it: it counts today.
TEST_F(TimeRecordsTest, ASessionEndingAsTheProgramStartsCountsWhateverTheRounding) {
  plans_["A"].BillingDay = 20;
  files_.content[kCsv] = Line(Dec(23, 23, 55), kHour / 12, 1, "A");
  EXPECT_TRUE(Load(Dec(24, 0) - 1e-9).empty());
  EXPECT_NEAR(table_[0].TodayTime, kHour / 12, kTime);
  EXPECT_NEAR(table_[0].BillingExpense, 1, kMoney);
}

TEST_F(TimeRecordsTest, BadLinesAreSkippedAndReportedOnceTheOthersCount) {
  files_.content[kCsv] =
      Line(Dec(23, 10), kHour, 3, "A") + "46379;5;1;A\r\n" + Line(Dec(23, 11), kHour, 1, "A");
  EXPECT_EQ(Load(Dec(23, 15)), std::vector<std::string>{kCsv + ", line 2: \"46379;5;1;A\" is not a "
                                                               "session record; it is skipped."});
  EXPECT_NEAR(table_[0].TodayExpense, 4, kMoney);

  files_.content[kCsv] =
      std::string(100, 'x') + std::string(TimeRecordReader::kKeptBadLines + 2, '\n');
  for (std::size_t i = 0; i < TimeRecordReader::kKeptBadLines + 2; ++i) {
    files_.content[kCsv] += "?\n";
  }
  const std::vector<std::string> many = Load(Dec(23, 15));
  ASSERT_EQ(many.size(), TimeRecordReader::kKeptBadLines + 1);
  EXPECT_EQ(many[0], kCsv + ", line 1: \"" + std::string(80, 'x') +
                         "...\" is not a session record; it is skipped.");
  EXPECT_EQ(many.back(), kCsv + ": 3 more lines are not session records; they are skipped.");
}

TEST_F(TimeRecordsTest, ACheckpointOfARunThatDiedIsRecordedExactlyOnce) {
  std::string error;
  ASSERT_TRUE(records_.WriteCheckpoint({Dec(23, 10), kHour / 2, 1, "A"}, error));
  ASSERT_TRUE(records_.WriteCheckpoint({Dec(23, 10), kHour, 2, "A"}, error));
  files_.content[kCsv] = Line(Dec(23, 8), kHour, 2, "A");
  EXPECT_TRUE(Load(Dec(23, 15)).empty());  // the run died; this start records the session
  const std::string recorded = Line(Dec(23, 8), kHour, 2, "A") + Line(Dec(23, 10), kHour, 2, "A");
  EXPECT_EQ(files_.content.at(kCsv), recorded);
  EXPECT_NEAR(table_[0].TodayExpense, 4, kMoney);
  EXPECT_FALSE(files_.Exists(kCheckpoint));
  EXPECT_TRUE(records_.RecoverCheckpoint().empty());

  // Died after saving the session but before the checkpoint went: not recorded again.
  files_.content[kCheckpoint] = Line(Dec(23, 10), kHour / 2, 1, "A");
  EXPECT_TRUE(records_.RecoverCheckpoint().empty());
  EXPECT_FALSE(files_.Exists(kCheckpoint));
  // A checkpoint that cannot be removed is emptied.
  ASSERT_TRUE(records_.WriteCheckpoint({Dec(23, 12), kHour, 2, "B"}, error));
  files_.undeletable.insert(kCheckpoint);
  EXPECT_TRUE(records_.RecoverCheckpoint().empty());
  EXPECT_TRUE(records_.RecoverCheckpoint().empty());
  EXPECT_EQ(files_.content.at(kCsv), recorded + Line(Dec(23, 12), kHour, 2, "B"));
  EXPECT_EQ(files_.content.at(kCheckpoint), "");
}

TEST_F(TimeRecordsTest, ACheckpointStartOfMoreDigitsThanALineKeepsIsStillRecordedOnce) {
  // Left by hand or another program; the line that recovering it writes keeps 15 digits.
  const std::string checkpoint = "46379.41666666666666\t\t\t\t0.5\t\t\t\t1\t\t\t\tA\r\n";
  files_.content[kCheckpoint] = checkpoint;
  EXPECT_TRUE(records_.RecoverCheckpoint().empty());
  const std::string recorded = files_.content.at(kCsv);
  EXPECT_EQ(recorded, Line(46379.4166666667, 0.5, 1, "A"));
  files_.content[kCheckpoint] = checkpoint;  // the run died again before the checkpoint went
  EXPECT_TRUE(records_.RecoverCheckpoint().empty());
  EXPECT_EQ(files_.content.at(kCsv), recorded);
}

TEST_F(TimeRecordsTest, ACheckpointStaysUntilItsSessionIsWritten) {
  std::string error;
  ASSERT_TRUE(records_.WriteCheckpoint({Dec(23, 10), kHour, 2, "A"}, error));
  files_.writable = false;
  EXPECT_FALSE(records_.SaveSessionRecord({Dec(23, 10), 2 * kHour, 4, "A"}, error));
  EXPECT_EQ(error, "Cannot write " + kCsv + ": Access denied.\nCannot write " + kSessions +
                       ": Access denied.");
  EXPECT_EQ(
      records_.RecoverCheckpoint(),
      (std::vector<std::string>{"Cannot write " + kCsv + ": Access denied.\nThe sessions of " +
                                    kCheckpoint + " stay there for the next write.",
                                "Cannot write " + kSessions + ": Access denied.\nThe sessions of " +
                                    kCheckpoint + " stay there for the next write."}));
  files_.writable = true;
  EXPECT_TRUE(records_.RecoverCheckpoint().empty());
  EXPECT_EQ(files_.content.at(kCsv), Line(Dec(23, 10), kHour, 2, "A"));

  // Saved normally, or not to be recorded, a session leaves no checkpoint.
  ASSERT_TRUE(records_.WriteCheckpoint({Dec(23, 12), kHour, 2, "A"}, error));
  locale_.decimal = ',';
  ASSERT_TRUE(records_.SaveSessionRecord({Dec(23, 12), 0.5, 4, "A"}, error));
  EXPECT_FALSE(files_.Exists(kCheckpoint));
  EXPECT_TRUE(files_.content.at(kCsv).ends_with(FormatTimeRecord({Dec(23, 12), 0.5, 4, "A"}, ',')));
  locale_.decimal = '\'';  // a separator of its own: written and read back as such
  ASSERT_TRUE(records_.SaveSessionRecord({Dec(23, 13), 0.25, 4.5, "A"}, error));
  EXPECT_TRUE(
      files_.content.at(kCsv).ends_with(FormatTimeRecord({Dec(23, 13), 0.25, 4.5, "A"}, '\'')));
  EXPECT_TRUE(Load(Dec(23, 15)).empty());  // every line reads, "," and "'" alike
  files_.content[kCheckpoint] = "not a session\r\n";
  EXPECT_EQ(records_.RecoverCheckpoint(),
            std::vector<std::string>{kCheckpoint +
                                     " holds lines that are no session record; they are dropped."});
  EXPECT_FALSE(files_.Exists(kCheckpoint));
}

TEST_F(TimeRecordsTest, SessionsThatCouldNotBeWrittenWaitInOrderAndATornLineCostsNothing) {
  std::string error;
  files_.content[kCsv] = Line(Dec(23, 8), kHour, 1, "A");
  files_.content[kCsv].resize(files_.content[kCsv].size() - 5);  // torn by a power cut
  files_.writable = false;                                       // another program holds the file
  EXPECT_FALSE(records_.SaveSessionRecord({Dec(23, 10), kHour, 2, "A"}, error));
  EXPECT_FALSE(records_.SaveSessionRecord({Dec(23, 12), kHour, 3, "B"}, error));
  files_.writable = true;
  // The next connect's checkpoint keeps both, then the running one.
  ASSERT_TRUE(records_.WriteCheckpoint({Dec(23, 14), kHour / 60, 0, "A"}, error));
  EXPECT_EQ(files_.content.at(kCheckpoint), Kept(Dec(23, 10), kHour, 2, "A") +
                                                Kept(Dec(23, 12), kHour, 3, "B") +
                                                Kept(Dec(23, 14), kHour / 60, 0, "A"));
  ASSERT_TRUE(records_.SaveSessionRecord({Dec(23, 14), kHour, 4, "A"}, error));
  const std::string written = Line(Dec(23, 10), kHour, 2, "A") + Line(Dec(23, 12), kHour, 3, "B") +
                              Line(Dec(23, 14), kHour, 4, "A");
  EXPECT_TRUE(files_.content.at(kCsv).ends_with("\r\n" + written));
  EXPECT_FALSE(files_.Exists(kCheckpoint));
  EXPECT_EQ(Load(Dec(23, 20)).size(), 1u);  // the torn line alone
  EXPECT_NEAR(table_[0].TodayExpense, 2 + 4, kMoney);

  // Killed after two failed appends: the next start adds each line not written yet, once.
  files_.content[kCheckpoint] = Line(Dec(23, 14), kHour, 4, "A") + Line(Dec(23, 16), kHour, 5, "A");
  EXPECT_TRUE(records_.RecoverCheckpoint().empty());
  EXPECT_TRUE(files_.content.at(kCsv).ends_with(written + Line(Dec(23, 16), kHour, 5, "A")));
}

// A run died with two sessions in its checkpoint, the first of them in the file already.
TEST_F(TimeRecordsTest, CheckpointSessionsTheFileCannotTakeAtStartAreKeptCountedAndWrittenOnce) {
  const std::string first = Line(Dec(23, 8), kHour, 1, "A");
  const std::string second = Line(Dec(23, 10), kHour, 2, "A");
  files_.content[kCsv] = first;
  files_.content[kCheckpoint] = first + second;

  // Written but not read at start: today counts what waits to be written too.
  files_.writable = false;
  EXPECT_EQ(Load(Dec(23, 20)).size(), 2u);  // one for each file
  EXPECT_NEAR(table_[0].TodayExpense, 3, kMoney);
  files_.writable = true;

  // Held by another program at start: nothing is lost, and the checkpoint's sessions count
  // while none of the file's can.
  table_[0] = {.EntryName = "A", .UserName = "", .Pwd = "", .InUse = true};
  files_.unreadable.insert(kCsv);
  const std::vector<std::string> problems = Load(Dec(23, 20));
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_EQ(problems[0], "Cannot read " + kCsv + ": " + kHeld + "\nThe sessions of " + kCheckpoint +
                             " stay there for the next write.");
  EXPECT_NEAR(table_[0].TodayExpense, 3, kMoney);
  std::string error;
  ASSERT_TRUE(records_.WriteCheckpoint({Dec(23, 21), kHour / 60, 0, "A"}, error));
  EXPECT_EQ(files_.content.at(kCheckpoint), Kept(Dec(23, 8), kHour, 1, "A") +
                                                Kept(Dec(23, 10), kHour, 2, "A") +
                                                Kept(Dec(23, 21), kHour / 60, 0, "A"));
  // Once it can be read, the next record follows the one it lacked.
  files_.unreadable.clear();
  ASSERT_TRUE(records_.SaveSessionRecord({Dec(23, 21), kHour, 2, "A"}, error));
  EXPECT_EQ(files_.content.at(kCsv), first + second + Line(Dec(23, 21), kHour, 2, "A"));
  EXPECT_FALSE(files_.Exists(kCheckpoint));
}

// Held by another program at start, the files' sessions count once they can be read;
// those the counters hold already, the checkpoint's and this run's, count once.
TEST_F(TimeRecordsTest, AFileUnreadAtStartIsCountedOnceItCanBeRead) {
  const std::string held = Line(Dec(23, 8), kHour, 1, "A");
  files_.content[kCsv] = Line(Dec(23, 6), kHour, 5, "A") + held;
  files_.content[kCheckpoint] = held;  // the run died after writing it
  TimeRecord older{Dec(23, 6), kHour, 5, "A"};
  older.received = 500;
  files_.content[kSessions] = kSessionsFileStart + FormatSessionLine(older, "A");
  files_.unreadable.insert(kCsv);
  files_.unreadable.insert(kSessions);
  const std::vector<std::string> problems = Load(Dec(23, 20));
  ASSERT_EQ(problems.size(), 4u);
  const std::string left_out = "Cannot read " + kCsv + ": " + kHeld +
                               "\nToday's and the billing period's time and cost leave its "
                               "sessions out until it can be read.";
  EXPECT_NE(std::find(problems.begin(), problems.end(), left_out), problems.end());
  EXPECT_NEAR(table_[0].TodayExpense, 1, kMoney);
  // This run's sessions, one of them written only at the second try.
  std::string error;
  TimeRecord first{Dec(23, 20), kHour / 2, 3, "A"}, second{Dec(23, 21), kHour, 2, "A"};
  first.received = 30;
  second.received = 20;
  files_.writable = false;
  EXPECT_FALSE(records_.SaveSessionRecord(first, error));
  files_.writable = true;
  ASSERT_TRUE(records_.SaveSessionRecord(second, error));
  table_[0].TodayExpense += 3 + 2;  // as the ticks counted them
  table_[0].BillingBytes += 30 + 20;
  const PlanOf plan_of = [this](const std::string& entry) { return plans_[entry]; };
  EXPECT_FALSE(records_.AddUnread(table_, plan_of, Dec(23, 22)));
  files_.unreadable.clear();
  EXPECT_TRUE(records_.AddUnread(table_, plan_of, Dec(23, 22)));
  EXPECT_TRUE(records_.AddUnread(table_, plan_of, Dec(23, 23)));
  EXPECT_NEAR(table_[0].TodayExpense, 5 + 1 + 3 + 2, kMoney);
  EXPECT_EQ(table_[0].BillingBytes, 500u + 30 + 20);
}

// Each session's fuller line goes to Sessions.csv beside its TimeCount.CSV line; either
// file may fail on its own, and a run that dies between the two appends, or again before
// its checkpoint went, leaves each session in each file once.
TEST_F(TimeRecordsTest, SessionsCsvHoldsEachSessionOnceWhicheverFileFailedOrTheRunDied) {
  locale_.decimal = ',';  // Sessions.csv keeps "." all the same
  TimeRecord first{Dec(23, 10), kHour, 2.5, "Caf\xE9, \"Net\""};
  first.end = Dec(23, 12);  // the clock went on an hour in between
  first.start_offset = 60;
  first.end_offset = 120;
  first.received = 1234;
  first.sent = 56;
  first.reason = "dropped by the line";
  first.ras_code = 619;
  std::string error;
  ASSERT_TRUE(records_.SaveSessionRecord(first, error));
  const std::string first_line =
      "2026-12-23T10:00:00.000+01:00,2026-12-23T12:00:00.000+02:00,3600.000,1234,56,2.5000,"
      "\"Caf\xC3\xA9, \"\"Net\"\"\",dropped by the line,619,\r\n";
  EXPECT_EQ(files_.content.at(kSessions), kSessionsFileStart + first_line);

  // Sessions.csv held by another program: TimeCount.CSV takes the session, the checkpoint
  // keeps it for the other.
  files_.locked.insert(kSessions);
  TimeRecord second{Dec(23, 14), kHour / 2, 1, "A"};
  second.start_offset = second.end_offset = -330;
  second.ras_code = 628;  // kept by the checkpoint
  EXPECT_FALSE(records_.SaveSessionRecord(second, error));
  EXPECT_EQ(error, "Cannot write " + kSessions + ": " + kHeld);
  const std::string counted = files_.content.at(kCsv);
  EXPECT_TRUE(counted.ends_with(FormatTimeRecord(second, ',')));
  EXPECT_EQ(files_.content.at(kCheckpoint), FormatCheckpointLine(second, ','));

  // Killed then; at the next start, and at a start after a run that died before its
  // checkpoint went, Sessions.csv gets it once and TimeCount.CSV not again. A line of an
  // older run's checkpoint has no offsets and no bytes.
  files_.locked.clear();
  const std::string kept = files_.content.at(kCheckpoint) + Line(Dec(23, 16), kHour, 3, "A");
  for (int start = 0; start < 2; ++start) {
    files_.content[kCheckpoint] = kept;
    TimeRecords restarted(files_, locale_);
    EXPECT_TRUE(restarted.RecoverCheckpoint().empty());
    EXPECT_FALSE(files_.Exists(kCheckpoint));
  }
  EXPECT_EQ(files_.content.at(kCsv), counted + FormatTimeRecord({Dec(23, 16), kHour, 3, "A"}, ','));
  EXPECT_EQ(files_.content.at(kSessions),
            kSessionsFileStart + first_line +
                "2026-12-23T14:00:00.000-05:30,2026-12-23T14:30:00.000-05:30,1800.000,0,0,1.0000,A,"
                ",628,\r\n"
                "2026-12-23T16:00:00.000,2026-12-23T17:00:00.000,3600.000,0,0,3.0000,A,,,\r\n");
}

// The billing period's bytes come from Sessions.csv, a session across the period's start
// by its share of the time, less the free hours' share for the budget.
TEST_F(TimeRecordsTest, TheVolumeOfThePeriodComesFromSessionsCsv) {
  plans_["A"].BillingDay = 23;
  plans_["A"].FreeFrom = 0;
  plans_["A"].FreeTo = 60;      // 00:00 to 01:00
  plans_["B"].BillingDay = 31;  // from 30 November
  files_.content[kSessions] =
      std::string(kSessionsFileStart) +
      "2026-12-22T22:00:00.000+01:00,x,14400.000,4000,0,0,A,\"dropped\nby the line\"\r\n"
      "2026-12-22T12:00:00.000+01:00,x,3600,1000,0,0,A,before the period\r\n"
      "2026-13-23T13:00:00.000,x,60,1,2,0,A,no such month\r\n"
      "2026-12-23 13:00:00.000,x,60,1,2,0,A,no T\r\n"
      "2026-12-23T24:00:00.000,x,60,1,2,0,A,no such hour\r\n"
      "2026-12-23T13:60:00.000,x,60,1,2,0,A,no such minute\r\n"
      "2026-12-23T13:00:60.000,x,60,1,2,0,A,no such second\r\n"
      "2026-12-23T13:00:00.5+01:00,x,60,1,2,0,A,short milliseconds\r\n"
      "2026-12-23T13:00:00.000,x,60,-1,2,0,A,negative\r\n"
      "2026-11-30T12:00:00.000+01:00,x,60,70,30,0,B,the month's last day\r\n"
      "2026-12-23T13:00:00.000,x,60.5,1,2,0,A,no offset and no line end";
  const std::vector<std::string> problems = Load(Dec(23, 20));
  ASSERT_EQ(problems.size(), 7u);
  EXPECT_EQ(problems[0], kSessions +
                             ", line 5: \"2026-13-23T13:00:00.000,x,60,1,2,0,A,no such "
                             "month\" is not a session record; it is skipped.");
  EXPECT_EQ(table_[0].BillingBytes, 2000u + 3);  // the half after midnight, and the last
  EXPECT_EQ(table_[0].BudgetBytes, 1000u + 3);   // less 00:00 to 01:00
  EXPECT_EQ(table_[1].BillingBytes, 100u);
}

// A night online whose bytes mostly moved in the free hours: the budget's bytes its line
// keeps are those that counted while it ran, after a restart too; a line of an older run,
// without them, shares its bytes by the time outside the free hours.
TEST_F(TimeRecordsTest, TheBudgetsBytesOfASessionSurviveARestart) {
  plans_["A"].BillingDay = 23;
  plans_["A"].FreeFrom = 0;
  plans_["A"].FreeTo = 6 * 60;  // 00:00 to 06:00
  TimeRecord night{Dec(23, 0), 8 * kHour, 0, "A"};
  night.received = 36'000'000'000;
  night.budget_bytes = 100'000'000;                   // 06:00 to 08:00
  TimeRecord across{Dec(22, 22), 4 * kHour, 0, "A"};  // 22:00 to 02:00: 2 of 4 hours counted
  across.received = 1'000'000'000;
  across.budget_bytes = 30'000'000;  // before midnight, all in the last period
  // A file begun before the column keeps its header.
  const std::string older_start =
      std::string(kSessionsFileStart)
          .replace(std::string(kSessionsFileStart).find(",Budget bytes"), 13, "");
  files_.content[kSessions] = older_start;
  std::string error;
  TimeRecords run(files_, locale_);
  ASSERT_TRUE(run.SaveSessionRecord(night, error));
  EXPECT_EQ(files_.content.at(kSessions), older_start + FormatSessionLine(night, "A"));
  // The run dies while Sessions.csv is held: the checkpoint keeps the bytes for it.
  files_.locked.insert(kSessions);
  EXPECT_FALSE(run.SaveSessionRecord(across, error));
  EXPECT_TRUE(files_.content.at(kCheckpoint).ends_with("\t\t\t\t30000000\r\n"));
  files_.locked.clear();

  EXPECT_TRUE(Load(Dec(23, 20)).empty());  // the next start
  EXPECT_TRUE(files_.content.at(kSessions).ends_with(",30000000\r\n"));
  EXPECT_EQ(table_[0].BillingBytes, 36'000'000'000u + 500'000'000);
  EXPECT_EQ(table_[0].BudgetBytes, 100'000'000u);  // and none of the hours after midnight

  // Lines without the column: the bytes by the share of the time outside the free hours.
  files_.content[kSessions] =
      "2026-12-23T00:00:00.000,x,28800.000,3600,0,0,A,,\r\n"
      "2026-12-22T22:00:00.000,x,14400.000,400,0,0,A,,\r\n";
  table_[0] = {.EntryName = "A", .UserName = "", .Pwd = "", .InUse = true};
  EXPECT_TRUE(Load(Dec(23, 20)).empty());
  EXPECT_EQ(table_[0].BillingBytes, 3600u + 200);
  EXPECT_EQ(table_[0].BudgetBytes, 900u);  // 2 of 8 hours, and none of the 2 after midnight
}

}  // namespace
