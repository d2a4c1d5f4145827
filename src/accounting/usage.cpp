// The sessions of both record files by day or by month.
#include "accounting/usage.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_set>

#include "accounting/sessions_file.h"
#include "accounting/time_records.h"
#include "platform/date_time.h"

namespace {

constexpr double kSecondsPerDay = 86400;

// Reads `path` through `reader`, telling `progress` the bytes read of all files so far.
// A file that does not exist is read as empty.
bool ReadFile(Files& files, const std::string& path, LineReader& reader, uint64_t& done,
              const UsageProgress& progress, std::string& error) {
  const bool read = files.ReadPieces(
      path,
      [&](std::string_view piece) {
        reader.Feed(piece);
        done += piece.size();
        if (progress)
          progress(done);
      },
      error);
  reader.Finish();
  return read || error.empty();
}

double MonthStart(int year, int month) {
  return ToDateTime({year + (month - 1) / 12, (month - 1) % 12 + 1, 1});
}

// The bars' edges, oldest first.
std::vector<UsageBar> Bars(UsageSpan span, int year, int month) {
  std::vector<UsageBar> bars;
  if (span == UsageSpan::kDaysOfMonth) {
    const double first = MonthStart(year, month);
    for (int day = 0; day < DaysInMonth(year, month); ++day)
      bars.push_back({first + day, first + day + 1});
    return bars;
  }
  const int months = span == UsageSpan::kTwelveMonths ? 12 : 24;
  const int last = year * 12 + month - 1;  // months since year 0
  for (int at = last - months + 1; at <= last; ++at)
    bars.push_back({MonthStart(at / 12, at % 12 + 1), MonthStart(at / 12, at % 12 + 2)});
  return bars;
}

// Adds `share` of the session to the bar.
void Add(UsageBar& bar, const UsageSession& session, double share) {
  bar.hours += session.seconds / 3600 * share;
  bar.cost += session.cost * share;
  bar.received += static_cast<uint64_t>(std::llround(session.received * share));
  bar.sent += static_cast<uint64_t>(std::llround(session.sent * share));
}

bool OfEntry(const UsageSession& session, const std::string& entry) {
  return entry.empty() || session.entry == entry;
}

}  // namespace

bool ReadUsage(Files& files, Locale& locale, const std::string& sessions_path,
               const std::string& time_count_path, const UsageProgress& progress,
               std::vector<UsageSession>& sessions, std::string& error) {
  sessions.clear();
  // Sessions by their start to the millisecond, as both files give it, and entry.
  std::unordered_set<std::string> keys;
  const auto key = [](double start, const std::string& entry) {
    return std::to_string(std::llround(start * 86400000)) + "," + entry;
  };
  uint64_t done = 0;
  SessionLineReader fuller([&](const SessionLine& line) {
    keys.insert(key(line.local_start, line.entry));
    sessions.push_back({line.local_start, line.seconds, line.cost, line.received, line.sent, true,
                        line.entry, line.reason, line.text + "\r\n"});
  });
  if (!ReadFile(files, sessions_path, fuller, done, progress, error))
    return false;
  TimeRecordReader older(
      [&](const TimeRecordView& view) {
        TimeRecord record{view.start, view.duration, view.Expense(),
                          locale.AnsiToUtf8(std::string(view.entry))};
        if (keys.count(key(view.start, record.entry)))
          return;
        sessions.push_back({view.start, view.duration * kSecondsPerDay, record.expense, 0, 0, false,
                            record.entry, "", FormatSessionLine(record, record.entry)});
      },
      locale.DecimalSeparator());
  if (!ReadFile(files, time_count_path, older, done, progress, error))
    return false;
  const auto earlier = [](const UsageSession& a, const UsageSession& b) {
    return a.start < b.start;
  };
  // Only sessions older than "Sessions.csv" come out of order, and seldom.
  if (!std::is_sorted(sessions.begin(), sessions.end(), earlier))
    std::stable_sort(sessions.begin(), sessions.end(), earlier);
  return true;
}

std::vector<UsageBar> UsageBars(const std::vector<UsageSession>& sessions, const std::string& entry,
                                UsageSpan span, int year, int month) {
  std::vector<UsageBar> bars = Bars(span, year, month);
  for (const UsageSession& session : sessions) {
    const double start = session.start, end = start + session.seconds / kSecondsPerDay;
    if (!OfEntry(session, entry) || end < bars.front().from || start >= bars.back().to)
      continue;
    for (UsageBar& bar : bars) {
      if (end <= start) {  // no length: all of it where it began
        if (start >= bar.from && start < bar.to)
          Add(bar, session, 1);
      } else if (end > bar.from && start < bar.to) {
        Add(bar, session, (std::min(end, bar.to) - std::max(start, bar.from)) / (end - start));
      }
    }
  }
  return bars;
}

bool EndedByTheLine(const UsageSession& session) {
  static const std::array<std::string, 3> kDrops = {"dropped by the line", "lost during a sleep",
                                                    "no answer to the keep-alive"};
  return std::find(kDrops.begin(), kDrops.end(), session.reason) != kDrops.end();
}

std::vector<const UsageSession*> SessionsIn(const std::vector<UsageSession>& sessions,
                                            const std::string& entry,
                                            const std::vector<UsageBar>& bars) {
  std::vector<const UsageSession*> in;
  for (const UsageSession& session : sessions) {
    if (OfEntry(session, entry) && session.start >= bars.front().from &&
        session.start < bars.back().to)
      in.push_back(&session);
  }
  return in;
}

std::string ExportSessions(const std::vector<const UsageSession*>& sessions) {
  std::string text = kSessionsFileStart;
  for (const UsageSession* session : sessions)
    text += session->line;
  return text;
}
