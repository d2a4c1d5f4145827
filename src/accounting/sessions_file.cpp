// The fuller record of each session.
#include "accounting/sessions_file.h"

#include <algorithm>
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

// The line's fields, quotes taken off; nullopt when a quoted field does not close.
std::optional<std::vector<std::string>> Fields(std::string_view line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
      fields.back() += '"';
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  if (quoted)
    return std::nullopt;
  return fields;
}

// The local date-time of an IsoTime, its offset not read.
std::optional<double> ParseIsoLocal(const std::string& text) {
  int year, month, day, hour, minute, second, ms, used = 0;
  if (text.size() < kLocalLength ||
      std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d.%3d%n", &year, &month, &day, &hour,
                  &minute, &second, &ms, &used) != 7 ||
      used != static_cast<int>(kLocalLength) || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month) || hour > 23 || minute > 59 || second > 59 || year < 1899)
    return std::nullopt;
  const double local = ToDateTime({year, month, day, hour, minute, second, ms});
  return local >= 0 ? std::optional(local) : std::nullopt;  // date-times begin 30 Dec 1899
}

std::optional<uint64_t> ParseCount(const std::string& text) {
  if (text.empty() || text.size() > 19 ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  return std::stoull(text);
}

}  // namespace

const char* const kSessionsFileStart =
    "\xEF\xBB\xBFStart,End,Seconds online,Bytes received,Bytes sent,Cost,Connection,Ended\r\n";

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
         Quoted(record.reason) + "\r\n";
}

std::string SessionLine::Key() const {
  return start.substr(0, kLocalLength) + "," + entry;
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
  auto fields = Fields(line);
  if (!fields) {
    open_ = line;
    return true;  // read with the next line
  }
  if (line.starts_with("Start,"))
    return true;  // the header
  const auto start = fields->size() >= kFields ? ParseIsoLocal((*fields)[0]) : std::nullopt;
  const auto seconds = start ? ParseReal((*fields)[2]) : std::nullopt;
  const auto received = seconds ? ParseCount((*fields)[3]) : std::nullopt;
  const auto sent = received ? ParseCount((*fields)[4]) : std::nullopt;
  if (!sent || *seconds < 0)
    return false;
  std::vector<std::string>& f = *fields;
  SessionLine session{std::move(f[0]), *start,          *seconds,
                      *received,       *sent,           ParseReal(f[5]).value_or(0),
                      std::move(f[6]), std::move(f[7]), std::string(line)};
  take_(session);
  return true;
}

std::optional<std::string> SessionLineReader::LeftOpen() {
  if (open_.empty())
    return std::nullopt;
  return std::exchange(open_, std::string());
}
