// "Sessions.csv": the fuller record of each session "TimeCount.CSV" holds, with its end,
// the bytes it moved and how it ended. UTF-8 with a byte-order mark, comma-separated, "."
// as the decimal mark in every locale, a field quoted where it holds a comma, a quote or a
// line break.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "accounting/line_reader.h"

struct TimeRecord;

// The byte-order mark and the header line a new file begins with.
extern const char* const kSessionsFileStart;

// A local date-time as ISO 8601 to the millisecond ("2026-12-08T20:30:43.123"), followed
// by its UTC offset ("+01:00", "-05:30", "+00:00") when known.
std::string IsoTime(double local, std::optional<int> utc_offset);

// How a session is told apart in either file: its start as "TimeCount.CSV" writes it (so
// to the millisecond, as IsoTime gives it without the offset) and its entry.
std::string SessionKey(const TimeRecord& record);

// The record's line, ended by CR LF: start, end, seconds online, bytes received, bytes
// sent, cost, connection (`utf8_entry`, the entry converted from the ANSI code page) and
// how it ended (empty when not known) and the RAS code of its end (empty for none).
std::string FormatSessionLine(const TimeRecord& record, const std::string& utf8_entry);

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
  uint32_t ras_code = 0;  // the error RAS gave for the session's end; 0: none
  std::string_view text;  // the line, its end left off

  // The key SessionKey gives the same session's record, with the entry in UTF-8.
  std::string Key() const;
};

// Reads the file's lines as LineReader does, the header and a byte-order mark passed
// over; a field quoted across a line break joins the lines. A line is a session when its
// start is an IsoTime, its seconds a number not below 0 and its bytes whole numbers.
class SessionLineReader : public LineReader {
 public:
  using Take = std::function<void(const SessionLine&)>;
  explicit SessionLineReader(Take take) : take_(std::move(take)) {}

 private:
  bool Line(std::string_view line) override;
  std::optional<std::string> LeftOpen() override;

  Take take_;
  std::string open_;                 // lines of a quoted field still open
  std::vector<std::string> fields_;  // the last line's, their room kept for the next
};
