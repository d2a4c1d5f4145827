// The fuller record of each session.
#include "accounting/sessions_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

#include "accounting/time_records.h"
#include "platform/date_time.h"
#include "platform/numbers.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kFields = 8;
constexpr std::size_t kLocalLength = 23;  // "2026-12-08T20:30:43.123"

// The date-time the digits of a "TimeCount.CSV" line give back.
double AsWritten(double date_time) {
  return ParseReal(FormatReal(date_time, '.')).value_or(date_time);
}

std::string Quoted(const std::string& field) {
  if (field.find_first_of(",\"\r\n") == std::string::npos)
    return field;
  std::string quoted = "\"";
  for (const char c : field) {
    quoted += c;
    if (c == '"')
      quoted += '"';
  }
  return quoted + "\"";
}

// Splits the line into `fields`, quotes taken off, reusing the room they have from the
// line before; false when a quoted field does not close. A field without quotes, as most
// are, is taken whole.
bool Fields(std::string_view line, std::vector<std::string>& fields) {
  std::size_t count = 1;
  const auto next = [&] {
    if (fields.size() < count)
      fields.emplace_back();
    fields[count - 1].clear();
  };
  next();
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
      fields[count - 1] += '"';
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      ++count;
      next();
    } else if (quoted) {
      fields[count - 1] += c;
    } else {
      const std::size_t end = std::min(line.find_first_of(",\"", i), line.size());
      fields[count - 1].append(line.substr(i, end - i));
      i = end - 1;
    }
  }
  fields.resize(count);
  return !quoted;
}

// The number of `count` digits at `at`; -1 when one of them is no digit.
int Digits(const std::string& text, std::size_t at, std::size_t count) {
  int number = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9')
      return -1;
    number = number * 10 + (text[i] - '0');
  }
  return number;
}

// The local date-time of an IsoTime, its offset not read.
std::optional<double> ParseIsoLocal(const std::string& text) {
  // "2026-12-08T20:30:43.123": the marks where they belong, digits between them.
  if (text.size() < kLocalLength || text.compare(4, 1, "-") || text.compare(7, 1, "-") ||
      text.compare(10, 1, "T") || text.compare(13, 1, ":") || text.compare(16, 1, ":") ||
      text.compare(19, 1, "."))
    return std::nullopt;
  const int year = Digits(text, 0, 4), month = Digits(text, 5, 2), day = Digits(text, 8, 2);
  const int hour = Digits(text, 11, 2), minute = Digits(text, 14, 2);
  const int second = Digits(text, 17, 2), ms = Digits(text, 20, 3);
  if (month < 1 || month > 12 || day < 1 || year < 1899 || day > DaysInMonth(year, month) ||
      hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || ms < 0)
    return std::nullopt;
  const double local = ToDateTime({year, month, day, hour, minute, second, ms});
  return local >= 0 ? std::optional(local) : std::nullopt;  // date-times begin 30 Dec 1899
}

// Digits alone: no sign, no blank.
std::optional<uint64_t> ParseCount(std::string_view text) {
  uint64_t count = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
  if (text.empty() || error != std::errc() || end != text.data() + text.size())
    return std::nullopt;
  return count;
}

}  // namespace

const char* const kSessionsFileStart =
    "\xEF\xBB\xBFStart,End,Seconds online,Bytes received,Bytes sent,Cost,Connection,Ended,RAS "
    "code\r\n";

std::string IsoTime(double local, std::optional<int> utc_offset) {
  const CalendarTime t = FromDateTime(local);
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03d", t.year, t.month, t.day,
                t.hour, t.minute, t.second, t.millisecond);
  std::string iso = text;
  if (utc_offset) {
    const int minutes = std::abs(*utc_offset);
    std::snprintf(text, sizeof text, "%c%02d:%02d", *utc_offset < 0 ? '-' : '+', minutes / 60,
                  minutes % 60);
    iso += text;
  }
  return iso;
}

std::string SessionKey(const TimeRecord& record) {
  return IsoTime(AsWritten(record.start), std::nullopt) + "," + record.entry;
}

std::string FormatSessionLine(const TimeRecord& record, const std::string& utf8_entry) {
  const double start = AsWritten(record.start);
  const double end = record.end != 0 ? record.end : start + record.duration;
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.3f", record.duration * 86400);
  return IsoTime(start, record.start_offset) + "," + IsoTime(end, record.end_offset) + "," +
         seconds + "," + std::to_string(record.received) + "," + std::to_string(record.sent) + "," +
         FormatReal(static_cast<double>(record.expense), '.') + "," + Quoted(utf8_entry) + "," +
         Quoted(record.reason) + "," + (record.ras_code ? std::to_string(record.ras_code) : "") +
         "\r\n";
}

std::string SessionLine::Key() const {
  return std::string(start.substr(0, kLocalLength)).append(",").append(entry);
}

bool SessionLineReader::Line(std::string_view line) {
  if (line.starts_with(kByteOrderMark))
    line.remove_prefix(kByteOrderMark.size());
  std::string joined;
  if (!open_.empty()) {
    joined = open_ + "\n" + std::string(line);
    open_.clear();
    line = joined;
  }
  if (!Fields(line, fields_)) {
    open_ = line;
    return true;  // read with the next line
  }
  if (line.starts_with("Start,"))
    return true;  // the header
  const std::vector<std::string>& f = fields_;
  const auto start = f.size() >= kFields ? ParseIsoLocal(f[0]) : std::nullopt;
  const auto seconds = start ? ParseReal(f[2]) : std::nullopt;
  const auto received = seconds ? ParseCount(f[3]) : std::nullopt;
  const auto sent = received ? ParseCount(f[4]) : std::nullopt;
  if (!sent || *seconds < 0)
    return false;
  SessionLine session{f[0], *start, *seconds, *received, *sent, ParseReal(f[5]).value_or(0),
                      f[6], f[7],   0,        line};
  // A line written before the code was kept has none.
  const uint64_t code = f.size() > kFields ? ParseCount(f[kFields]).value_or(0) : 0;
  session.ras_code = code <= UINT32_MAX ? static_cast<uint32_t>(code) : 0;
  take_(session);
  return true;
}

std::optional<std::string> SessionLineReader::LeftOpen() {
  if (open_.empty())
    return std::nullopt;
  return std::exchange(open_, std::string());
}
