// "Sessions.csv": its lines as written and read back, torn ones, and the spreadsheet form.
#include "accounting/sessions_file.h"

#include <gtest/gtest.h>

#include "accounting/time_records.h"
#include "platform/date_time.h"

namespace {

const std::string kGood =
    "2026-12-23T10:00:00.000+01:00,2026-12-23T11:00:00.000+01:00,3600.000,10,1,2,A,,\r\n";

struct Read {
  std::vector<std::string> entries;
  std::vector<double> seconds;
  std::vector<std::optional<uint64_t>> budgets;
  std::vector<BadLine> bad;
};

Read ReadLines(const std::string& text) {
  Read read;
  SessionLineReader reader([&read](const SessionLine& line) {
    read.entries.emplace_back(line.entry);
    read.seconds.push_back(line.seconds);
    read.budgets.push_back(line.budget_bytes);
  });
  reader.Feed(text);
  reader.Finish();
  read.bad = reader.FirstBadLines();
  return read;
}

std::string WithEntry(const std::string& entry) {
  std::string line = kGood;
  return line.replace(line.find(",A,"), 3, "," + entry + ",");
}

// A line torn inside its quotes by a power cut, the next session's line glued to it: it
// joins one more line at most, never one that starts as a session does, and the lines
// after it read.
TEST(SessionsFileTest, ATornLineIsOneBadLineAndTheLinesAfterItRead) {
  const std::string torn = "2026-12-23T09:00:00.000,x,60,1,1,0,\"Home, Pro";
  Read read =
      ReadLines(std::string(kSessionsFileStart) + WithEntry("B") + torn + kGood +
                WithEntry("\"two\nlines\"") + torn + "\r\nnot closed\r\n" + WithEntry("C") + torn);
  EXPECT_EQ(read.entries, (std::vector<std::string>{"B", "two\nlines", "C"}));
  ASSERT_EQ(read.bad.size(), 4u);
  EXPECT_EQ(read.bad[0].number, 3u);  // with the line glued to it
  EXPECT_EQ(read.bad[0].text, (torn + kGood).substr(0, 80) + "...");
  EXPECT_EQ(read.bad[1].number, 6u);  // the one line after it does not close it
  EXPECT_EQ(read.bad[1].text, torn);
  EXPECT_EQ(read.bad[2].number, 7u);  // read afresh, and no session
  EXPECT_EQ(read.bad[3].number, 9u);  // open at the end
  EXPECT_EQ(read.bad[3].text, torn);

  // A quote that closes at the line's end closes, whatever lies after the line.
  CsvFields fields;
  EXPECT_TRUE(fields.Split(std::string_view("a,\"b\"\"").substr(0, 5)));
  EXPECT_EQ(fields[1], "b");

  // The next line closes it but makes no session: the two are one bad line.
  read = ReadLines(torn + "\r\nvider\"\r\n" + kGood);
  EXPECT_EQ(read.entries, std::vector<std::string>{"A"});
  ASSERT_EQ(read.bad.size(), 1u);
  EXPECT_EQ(read.bad[0].number, 1u);
  EXPECT_EQ(read.bad[0].text, torn + "\nvider\"");
}

// Lines of 8 fields (before the RAS code), 9 (before the budget's bytes) and 10 read; so
// does a file whose header lacks the last column.
TEST(SessionsFileTest, LinesOfEightNineAndTenFieldsRead) {
  std::string nine = kGood, eight = kGood.substr(0, kGood.size() - 3) + "\r\n";
  const std::string ten = kGood.substr(0, kGood.size() - 2) + ",123456\r\n";
  const std::string empty_budget = kGood.substr(0, kGood.size() - 2) + ",\r\n";
  const std::string old_header =
      "\xEF\xBB\xBFStart,End,Seconds online,Bytes received,Bytes sent,Cost,Connection,Ended,RAS "
      "code\r\n";
  const Read read = ReadLines(old_header + eight + ten + nine + empty_budget);
  EXPECT_EQ(read.entries.size(), 4u);
  EXPECT_TRUE(read.bad.empty());
  EXPECT_EQ(read.budgets, (std::vector<std::optional<uint64_t>>{std::nullopt, 123456, std::nullopt,
                                                                std::nullopt}));
  // A start in any other form makes no session.
  for (const char* start : {"2026-12-23 10:00:00.000", "2026-12-23T10:00:00,000",
                            "2026/12-23T10:00:00.000", "2026-12-23T10-00:00.000"}) {
    EXPECT_EQ(ReadLines(std::string(start) + kGood.substr(23)).bad.size(), 1u) << start;
  }
  // A number in another form than the file's own reads all the same.
  std::string exponent = kGood;
  EXPECT_EQ(ReadLines(exponent.replace(exponent.find("3600.000"), 8, "3.6e3")).seconds,
            std::vector<double>{3600});
  EXPECT_EQ(ReadLines(kGood.substr(0, kGood.find(",A,")) + "\r\n").bad.size(), 1u);  // 6 fields

  TimeRecord record{ToDateTime({2026, 12, 23, 10}), 1.0 / 24, 1.234e-05, "A"};
  EXPECT_TRUE(FormatSessionLine(record, "A").ends_with(",0.0000,A,,,\r\n"));
  record.expense = 6.99999999994179;
  EXPECT_TRUE(FormatSessionLine(record, "A").ends_with(",7.0000,A,,,\r\n"));
  record.budget_bytes = 77;
  record.ras_code = 619;
  EXPECT_TRUE(FormatSessionLine(record, "A").ends_with(",A,,619,77\r\n"));
  EXPECT_TRUE(std::string(kSessionsFileStart).ends_with(",RAS code,Budget bytes\r\n"));
}

// A text that a spreadsheet would run as a formula is written with an apostrophe inside
// its quotes, which reading takes off: every name reads back as it was.
TEST(SessionsFileTest, AFormulaLeadingTextGetsAnApostropheThatReadingTakesOff) {
  EXPECT_EQ(CsvText("plain"), "plain");
  EXPECT_EQ(CsvText("a, \"b\""), "\"a, \"\"b\"\"\"");
  EXPECT_EQ(CsvText("line\nbreak"), "\"line\nbreak\"");
  EXPECT_EQ(CsvText("'quoted"), "'quoted");
  EXPECT_EQ(CsvText("="), "\"'=\"");
  const std::pair<std::string, bool> names[] = {{"=1+1", true},  {"+49 30", true}, {"-dial", true},
                                                {"@home", true}, {"''=x", true},   {"'", false},
                                                {"a=b", false},  {"''", false}};
  for (const auto& [name, guarded] : names) {
    const TimeRecord record{ToDateTime({2026, 12, 23, 10}), 1.0 / 24, 2, name};
    const std::string line = FormatSessionLine(record, name);
    EXPECT_EQ(line.find(",\"'" + name + "\",") != std::string::npos, guarded) << line;
    std::string key;
    SessionLineReader reader([&](const SessionLine& read) { key = read.Key(); });
    reader.Feed(line);
    EXPECT_EQ(key, SessionKey(record)) << line;
  }
  EXPECT_EQ(PlainText("'=x"), "=x");
  EXPECT_EQ(PlainText("''@x"), "'@x");
  EXPECT_EQ(PlainText("'x"), "'x");
  EXPECT_EQ(PlainText("'"), "'");
  EXPECT_EQ(PlainText("=x"), "=x");
}

// For this computer's spreadsheet: its separator and decimal mark, times it reads as such,
// the texts in quotes, and quotes where a number holds the separator.
TEST(SessionsFileTest, ASpreadsheetLineTakesTheLocalSeparatorMarkAndPlainTimes) {
  const std::string line =
      "2026-12-23T10:00:00.250+01:00,2026-12-23T11:00:00.000,3600.500,10,1,2.5,\"'=A, B\","
      "dropped,619,5";
  EXPECT_EQ(
      SpreadsheetLine(line, {";", ','}),
      "2026-12-23 10:00:00;2026-12-23 11:00:00;3600,500;10;1;2,5;\"'=A, B\";\"dropped\";619;5");
  EXPECT_EQ(SpreadsheetLine(line, {",", ','}),
            "2026-12-23 10:00:00,2026-12-23 11:00:00,\"3600,500\",10,1,\"2,5\",\"'=A, B\","
            "\"dropped\",619,5");
  EXPECT_EQ(SpreadsheetLine("Start,End,Seconds online,x.y", {"\xD8\x9B", '.'}),
            "Start\xD8\x9B"
            "End\xD8\x9BSeconds online\xD8\x9Bx.y");
}

}  // namespace
