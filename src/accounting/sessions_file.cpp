// The fuller record of each session.
#include "accounting/sessions_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <utility>

#include "accounting/time_records.h"
#include "platform/date_time.h"
#include "platform/numbers.h"

namespace {

// The columns, in order; a line has at least the first eight.
enum Column { kStart, kEnd, kSeconds, kReceived, kSent, kCost, kEntry, kReason, kRasCode, kBudget };
constexpr std::size_t kFields = kRasCode;
constexpr std::size_t kLocalLength = 23;  // "2026-12-08T20:30:43.123"

// The date-time the digits of a "TimeCount.CSV" line give back.
double AsWritten(double date_time) {
  return ParseReal(FormatReal(date_time, '.')).value_or(date_time);
}

// `text` in quotes, its own quotes doubled, when `always` or when it holds `separator`, a
// quote or a line break.
std::string Quoted(std::string_view text, std::string_view separator, bool always) {
  if (!always && text.find_first_of("\"\r\n") == std::string_view::npos &&
      text.find(separator) == std::string_view::npos)
    return std::string(text);
  std::string quoted = "\"";
  for (const char c : text) {
    quoted += c;
    if (c == '"')
      quoted += '"';
  }
  return quoted + "\"";
}

// Whether a spreadsheet would take the text, after its apostrophes, for a formula.
bool LikeAFormula(std::string_view text) {
  const std::size_t at = text.find_first_not_of('\'');
  return at != std::string_view::npos &&
         std::string_view("=+-@").find(text[at]) != std::string_view::npos;
}

// Reads the field that begins at `at` into `text`, quotes taken off, and moves `at` to its
// end: the comma after it or the line's end. False when a quote does not close.
bool Unquote(std::string_view line, std::size_t& at, std::string& text) {
  text.clear();
  bool quoted = false;
  for (; at < line.size() && (quoted || line[at] != ','); ++at) {
    if (line[at] != '"')
      text += line[at];
    else if (quoted && at + 1 < line.size() && line[at + 1] == '"')
      text += line[++at];
    else
      quoted = !quoted;
  }
  return !quoted;
}

// The number of `count` digits at `at`; -1 when one of them is no digit.
int Digits(std::string_view text, std::size_t at, std::size_t count) {
  int number = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9')
      return -1;
    number = number * 10 + (text[i] - '0');
  }
  return number;
}

// The local date-time of an IsoTime, its offset not read.
std::optional<double> ParseIsoLocal(std::string_view text) {
  // "2026-12-08T20:30:43.123": the marks where they belong, digits between them.
  if (text.size() < kLocalLength || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
      text[13] != ':' || text[16] != ':' || text[19] != '.')
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

// A real the quick way when it is a plain decimal, as the file writes them.
std::optional<double> Real(std::string_view text) {
  double value = 0;
  if (!text.empty() && ParsePlainDecimal(text, value) == text.size())
    return value;
  return ParseReal(text);
}

}  // namespace

std::optional<uint64_t> ParseCount(std::string_view text) {
  uint64_t count = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
  if (text.empty() || error != std::errc() || end != text.data() + text.size())
    return std::nullopt;
  return count;
}

const char* const kSessionsFileStart =
    "\xEF\xBB\xBFStart,End,Seconds online,Bytes received,Bytes sent,Cost,Connection,Ended,RAS "
    "code,Budget bytes\r\n";

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

std::string FormatSessionLine(const TimeRecord& record, const std::string& utf8_entry,
                              bool volume) {
  const double start = AsWritten(record.start);
  const double end = record.end != 0 ? record.end : start + record.duration;
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.3f", record.duration * 86400);
  const auto count = [](std::optional<uint64_t> count) {
    return count ? std::to_string(*count) : std::string();
  };
  const auto bytes = [&](uint64_t bytes) { return volume ? count(bytes) : std::string(); };
  return IsoTime(start, record.start_offset) + "," + IsoTime(end, record.end_offset) + "," +
         seconds + "," + bytes(record.received) + "," + bytes(record.sent) + "," +
         FormatFixed(static_cast<double>(record.expense), 4, '.') + "," + CsvText(utf8_entry) +
         "," + CsvText(record.reason) + "," +
         count(record.ras_code ? std::optional<uint64_t>(record.ras_code) : std::nullopt) + "," +
         count(record.budget_bytes) + "\r\n";
}

std::string CsvText(std::string_view text) {
  if (LikeAFormula(text))
    return Quoted(std::string("'").append(text), ",", true);
  return Quoted(text, ",", false);
}

std::string_view PlainText(std::string_view field) {
  return field.starts_with('\'') && LikeAFormula(field) ? field.substr(1) : field;
}

bool CsvFields::Split(std::string_view line) {
  count_ = 0;
  // Most lines hold no quote: each field but one with a quote ends at the next comma.
  std::size_t quote = line.find('"');
  for (std::size_t at = 0;; ++at) {  // at the field's start
    std::size_t end = std::min(line.find(',', at), line.size());
    std::string_view field = line.substr(at, end - at);
    if (quote < end) {
      std::string& room = unquoted_[std::min(count_, kKept)];
      if (!Unquote(line, at, room))
        return false;
      field = room;
      end = at;
      quote = line.find('"', end);
    }
    if (count_ < kKept)
      fields_[count_] = field;
    ++count_;
    if (end >= line.size())
      return true;
    at = end;
  }
}

std::string SpreadsheetLine(std::string_view line, const SpreadsheetForm& form) {
  CsvFields fields;
  fields.Split(line);
  std::string spread;
  for (std::size_t i = 0; i < std::min(fields.Count(), CsvFields::kKept); ++i) {
    std::string field(fields[i]);
    if ((i == kStart || i == kEnd) && ParseIsoLocal(field))
      field = field.substr(0, 10) + " " + field.substr(11, 8);
    else if (i == kSeconds || i == kCost)
      std::replace(field.begin(), field.end(), '.', form.decimal);
    spread +=
        (i == 0 ? "" : form.separator) + Quoted(field, form.separator, i == kEntry || i == kReason);
  }
  return spread;
}

std::string SessionLine::Key() const {
  return std::string(start.substr(0, kLocalLength)).append(",").append(entry);
}

bool SessionLineReader::Line(std::string_view line) {
  if (line.starts_with(kByteOrderMark))
    line.remove_prefix(kByteOrderMark.size());
  if (!open_.empty()) {
    const std::string open = std::exchange(open_, std::string());
    // Torn inside quotes, it takes no more than the next line, and never a session's.
    if (!ParseIsoLocal(line)) {
      const std::string joined = open + "\n" + std::string(line);
      if (fields_.Split(joined)) {
        if (!Session(joined))
          Bad(joined, open_number_);
        return true;
      }
    }
    Bad(open, open_number_);
  }
  if (!fields_.Split(line)) {
    open_ = line;
    open_number_ = LineNumber();
    return true;  // read with the next line
  }
  return line.starts_with("Start,") || Session(line);  // the header, or a session
}

bool SessionLineReader::Session(std::string_view line) {
  const CsvFields& f = fields_;
  const auto start = f.Count() >= kFields ? ParseIsoLocal(f[kStart]) : std::nullopt;
  const auto seconds = start ? Real(f[kSeconds]) : std::nullopt;
  const auto received = seconds ? ParseCount(f[kReceived]) : std::nullopt;
  const auto sent = received ? ParseCount(f[kSent]) : std::nullopt;
  if (!sent || *seconds < 0)
    return false;
  SessionLine session{f[kStart],
                      *start,
                      *seconds,
                      *received,
                      *sent,
                      Real(f[kCost]).value_or(0),
                      PlainText(f[kEntry]),
                      PlainText(f[kReason]),
                      0,
                      std::nullopt,
                      line};
  // A line written before the code was kept has none, nor one before the budget's bytes.
  const uint64_t code = f.Count() > kRasCode ? ParseCount(f[kRasCode]).value_or(0) : 0;
  session.ras_code = code <= UINT32_MAX ? static_cast<uint32_t>(code) : 0;
  if (f.Count() > kBudget)
    session.budget_bytes = ParseCount(f[kBudget]);
  take_(session);
  return true;
}

void SessionLineReader::AtEnd() {
  if (!open_.empty())
    Bad(std::exchange(open_, std::string()), open_number_);
}
