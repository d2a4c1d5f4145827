// "Sessions.csv": the fuller record of each session "TimeCount.CSV" holds, with its end,
// the bytes it moved and how it ended. UTF-8 with a byte-order mark, comma-separated, "."
// as the decimal mark in every locale, a field quoted where it holds a comma, a quote or a
// line break.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "accounting/line_reader.h"

struct TimeRecord;

// The byte-order mark and the header line a new file begins with. A file begun before the
// budget's bytes were kept keeps its shorter header: lines of either length read.
extern const char* const kSessionsFileStart;
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// A local date-time as ISO 8601 to the millisecond ("2026-12-08T20:30:43.123"), followed
// by its UTC offset ("+01:00", "-05:30", "+00:00") when known.
std::string IsoTime(double local, std::optional<int> utc_offset);

// How a session is told apart in either file: its start as "TimeCount.CSV" writes it (so
// to the millisecond, as IsoTime gives it without the offset) and its entry.
std::string SessionKey(const TimeRecord& record);

// The record's line, ended by CR LF: start, end, seconds online, bytes received, bytes
// sent, cost (four decimals), connection (`utf8_entry`, the entry converted from the ANSI code page), how
// it ended (empty when not known), the RAS code of its end (empty for none) and the bytes
// that counted against the budget (empty when not known). Without `volume` (a session
// "TimeCount.CSV" alone knows) the bytes received and sent are left empty too.
std::string FormatSessionLine(const TimeRecord& record, const std::string& utf8_entry,
                              bool volume = true);

// A count of bytes or a code as the record files write it: digits alone, no sign, no blank.
std::optional<uint64_t> ParseCount(std::string_view text);

// A text field as the file writes it: quoted where it holds a comma, a quote or a line
// break, and where it begins as a spreadsheet's formula does ("=", "+", "-" or "@", after
// any apostrophes), which then gets an apostrophe in front, inside its quotes, that keeps a
// spreadsheet from running it.
std::string CsvText(std::string_view text);
// The text of such a field as read, that apostrophe taken off again.
std::string_view PlainText(std::string_view field);

// The fields of a line, split at the commas outside quotes, their quotes taken off. Each
// is a view into the line, or, for one with quotes, into the splitter's own room; either
// lives until the next Split. The room is kept from line to line.
class CsvFields {
 public:
  static constexpr std::size_t kKept = 10;  // fields after these are counted, not kept

  // False when a quoted field does not close.
  bool Split(std::string_view line);
  std::size_t Count() const { return count_; }
  // Field `i`, below kKept and Count().
  std::string_view operator[](std::size_t i) const { return fields_[i]; }

 private:
  std::array<std::string_view, kKept> fields_;
  std::array<std::string, kKept + 1> unquoted_;  // the last one takes any field after them
  std::size_t count_ = 0;
};

// How this computer's spreadsheet reads a CSV file: its list separator and decimal mark.
struct SpreadsheetForm {
  std::string separator;
  char decimal = '.';
};

// A line of the file, or its header, for such a spreadsheet: the fields separated by its
// separator, the numbers with its decimal mark, the start and end as local times
// "yyyy-mm-dd hh:mm:ss" (neither the milliseconds nor the offset), the texts quoted, and
// quotes wherever a field holds the separator.
std::string SpreadsheetLine(std::string_view line, const SpreadsheetForm& form);

// A line of the file as read. Its texts are the reader's, good until the next line.
struct SessionLine {
  std::string_view start;  // as IsoTime wrote it, offset and all
  double local_start = 0;
  double seconds = 0;
  uint64_t received = 0;
  uint64_t sent = 0;
  double cost = 0;
  std::string_view entry;  // UTF-8
  std::string_view reason;
  uint32_t ras_code = 0;                 // the error RAS gave for the session's end; 0: none
  std::optional<uint64_t> budget_bytes;  // not known in a line written before they were kept
  std::string_view text;                 // the line, its end left off

  // The key SessionKey gives the same session's record, with the entry in UTF-8.
  std::string Key() const;
};

// Reads the file's lines as LineReader does, the header and a byte-order mark passed
// over. A line whose quoted field stays open joins the one line after it, unless that one
// starts as a session does; when it is still open then, it is a bad line of its own and the
// next line is read afresh. So a line torn inside quotes hides no other. A line is a
// session when its start is an IsoTime, its seconds a number not below 0 and its bytes
// whole numbers; it has 8 fields or more.
class SessionLineReader : public LineReader {
 public:
  using Take = std::function<void(const SessionLine&)>;
  explicit SessionLineReader(Take take) : take_(std::move(take)) {}

 private:
  bool Line(std::string_view line) override;
  void AtEnd() override;
  // The split line as a session, handed on; false when it is none.
  bool Session(std::string_view line);

  Take take_;
  CsvFields fields_;
  std::string open_;  // a line whose quoted field is still open
  std::size_t open_number_ = 0;
};
