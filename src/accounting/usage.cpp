// The sessions of both record files by day or by month.
#include "accounting/usage.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

#include "accounting/sessions_file.h"
#include "accounting/time_records.h"
#include "platform/date_time.h"

namespace {

constexpr double kSecondsPerDay = 86400;

// Reads `path` through `reader`, telling `progress` the bytes read of all files so far;
// once it says stop, the pieces left are passed over. A file that does not exist is read
// as empty.
bool ReadFile(Files& files, const std::string& path, LineReader& reader, uint64_t& done,
              const UsageProgress& progress, bool& stopped, std::string& error) {
  const bool read = files.ReadPieces(
      path,
      [&](std::string_view piece) {
        if (stopped)
          return;
        reader.Feed(piece);
        done += piece.size();
        stopped = progress && !progress(done);
      },
      error);
  reader.Finish();
  return !stopped && (read || error.empty());
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
  (session.has_volume ? bar.volume_known : bar.volume_unknown) = true;
}

// An entry name of "TimeCount.CSV" in UTF-8: most are plain ASCII, the same in both, and
// are not copied; another is converted into `room`.
std::string_view Utf8(Locale& locale, std::string_view ansi, std::string& room) {
  const bool ascii = std::all_of(ansi.begin(), ansi.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (ascii)
    return ansi;
  room = locale.AnsiToUtf8(std::string(ansi));
  return room;
}

// A session "TimeCount.CSV" has and "Sessions.csv" lacks: no volume, no reason.
void AddOlder(const TimeRecordView& view, std::string_view utf8_entry, UsageHistory& history) {
  const std::string entry(utf8_entry);
  const TimeRecord record{view.start, view.duration, view.Expense(), entry};
  const std::string line = FormatSessionLine(record, entry, false);
  history.sessions.push_back({view.start, view.duration * kSecondsPerDay, record.expense, 0, 0,
                              false, history.Keep(entry), "", 0,
                              history.Keep(std::string_view(line).substr(0, line.size() - 2))});
}

// `part` of `line` as a view into `kept`, the history's copy of the line: no second copy.
// A part the reader unquoted lies in its own room, and is kept apart.
std::string_view Within(std::string_view line, std::string_view kept, std::string_view part,
                        UsageHistory& history) {
  const std::less_equal<const char*> before;
  if (before(line.data(), part.data()) &&
      before(part.data() + part.size(), line.data() + line.size()))
    return kept.substr(static_cast<size_t>(part.data() - line.data()), part.size());
  return history.Keep(part);
}

bool OfEntry(const UsageSession& session, std::string_view entry) {
  return entry.empty() || session.entry == entry;
}

}  // namespace

std::string_view UsageHistory::Keep(std::string_view text) {
  constexpr size_t kBlock = 1 << 20;
  if (blocks_.empty() || blocks_.back().capacity() - blocks_.back().size() < text.size())
    blocks_.emplace_back().reserve(std::max(kBlock, text.size()));
  std::string& block = blocks_.back();
  block.append(text);
  return std::string_view(block).substr(block.size() - text.size());
}

bool ReadUsage(Files& files, Locale& locale, const UsageFiles& paths, const UsageProgress& progress,
               UsageHistory& history, std::string& error) {
  history = UsageHistory();
  std::vector<UsageSession>& sessions = history.sessions;
  // The sessions of "Sessions.csv" by their start to the millisecond, as both files give
  // it; a start held by more than one entry is rare, so the entries are compared only then.
  std::vector<std::pair<int64_t, size_t>> by_start;
  // Made at once, the room is not moved as the sessions come.
  constexpr uint64_t kShortLine = 100;
  sessions.reserve(static_cast<size_t>(paths.sessions_bytes / kShortLine));
  by_start.reserve(sessions.capacity());
  const auto millisecond = [](double start) { return std::llround(start * 86400000); };
  uint64_t done = 0;
  bool stopped = false;
  SessionLineReader fuller([&](const SessionLine& line) {
    by_start.emplace_back(millisecond(line.local_start), sessions.size());
    const std::string_view kept = history.Keep(line.text);
    sessions.push_back({line.local_start, line.seconds, line.cost, line.received, line.sent, true,
                        Within(line.text, kept, line.entry, history),
                        Within(line.text, kept, line.reason, history), line.ras_code, kept});
  });
  if (!ReadFile(files, paths.sessions, fuller, done, progress, stopped, error))
    return false;
  if (!std::is_sorted(by_start.begin(), by_start.end()))  // the clock was set back
    std::sort(by_start.begin(), by_start.end());
  // Both files take each session in turn: its start is mostly the one after the last found.
  size_t next = 0;
  std::string room;
  TimeRecordReader older(
      [&](const TimeRecordView& view) {
        const int64_t start = millisecond(view.start);
        const auto starts_at = [&](size_t at) {
          return at < by_start.size() && by_start[at].first == start;
        };
        if (!starts_at(next) || (next > 0 && starts_at(next - 1)))
          next = std::lower_bound(by_start.begin(), by_start.end(), std::pair(start, size_t{0})) -
                 by_start.begin();
        const std::string_view entry = Utf8(locale, view.entry, room);
        for (; starts_at(next); ++next) {
          if (sessions[by_start[next].second].entry == entry) {
            ++next;
            return;
          }
        }
        AddOlder(view, entry, history);
      },
      locale.DecimalSeparator());
  if (!ReadFile(files, paths.time_count, older, done, progress, stopped, error))
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
  return session.ras_code != 0 ||
         std::find(kDrops.begin(), kDrops.end(), session.reason) != kDrops.end();
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

std::string ExportSessions(const std::vector<const UsageSession*>& sessions,
                           const std::optional<SpreadsheetForm>& spreadsheet) {
  const auto line_of = [&spreadsheet](std::string_view line) {
    return (spreadsheet ? SpreadsheetLine(line, *spreadsheet) : std::string(line)) + "\r\n";
  };
  std::string_view header = kSessionsFileStart;
  header.remove_prefix(kByteOrderMark.size());
  header.remove_suffix(2);  // its CR LF
  std::string text = std::string(kByteOrderMark) + line_of(header);
  for (const UsageSession* session : sessions)
    text += line_of(session->line);
  return text;
}
