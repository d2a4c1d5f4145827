// The sessions of both record files as the Usage window shows them: by day or by month,
// per connection or all, the sessions a drop ended, and an export in the Sessions.csv form.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "accounting/sessions_file.h"
#include "platform/files.h"
#include "platform/locale.h"

// One session: from "Sessions.csv", or, for one recorded before that file existed, from
// "TimeCount.CSV" without its volume, which is then not known.
struct UsageSession {
  double start = 0;  // local date-time
  double seconds = 0;
  long double cost = 0;
  uint64_t received = 0, sent = 0;
  bool has_volume = false;
  std::string_view entry;   // UTF-8
  std::string_view reason;  // how it ended; empty when not known
  uint32_t ras_code = 0;    // the error RAS gave for its end; 0: none
  std::string_view line;    // as "Sessions.csv" has it, or would have it, without its end
};

// Sessions with the texts they point into, kept in a few large blocks, so that a history
// of any length is read and let go in little time. It moves but does not copy.
class UsageHistory {
 public:
  UsageHistory() = default;
  UsageHistory(UsageHistory&&) = default;
  UsageHistory& operator=(UsageHistory&&) = default;

  std::vector<UsageSession> sessions;

  // A copy of `text` that lives as long as the history.
  std::string_view Keep(std::string_view text);

 private:
  std::vector<std::string> blocks_;  // each filled up to the room it was given, never moved
};

struct UsageFiles {
  std::string sessions;         // "Sessions.csv"
  std::string time_count;       // "TimeCount.CSV"
  uint64_t sessions_bytes = 0;  // the first one's size where known: room for its sessions
};

// Reads "Sessions.csv", then the sessions of "TimeCount.CSV" it lacks (by start and entry),
// a piece at a time; `progress`, when set, hears the bytes read so far of both and answers
// false to stop: the rest is passed over and the result is false with `error` empty. The
// sessions come in order of start. False with `error` when a file that exists cannot be
// read; a file that does not exist holds no sessions. Lines that are no session are passed
// over: the program reports them at start.
using UsageProgress = std::function<bool(uint64_t done)>;
bool ReadUsage(Files& files, Locale& locale, const UsageFiles& paths, const UsageProgress& progress,
               UsageHistory& history, std::string& error);

// What the figures cover: the days of one month, or the last 12 or 24 months up to one.
enum class UsageSpan { kDaysOfMonth, kTwelveMonths, kTwentyFourMonths };

struct UsageBar {
  double from = 0, to = 0;  // the bar's day or month, as local date-times
  double hours = 0;
  long double cost = 0;
  uint64_t received = 0, sent = 0;  // of the sessions whose volume is known
  bool volume_known = false;        // some session in it has its volume
  bool volume_unknown = false;      // some session in it has not
};

// One bar per day of `month` of `year`, or per month of the span ending with it, oldest
// first, for the sessions of `entry` (empty: all). A session across a bar's edge counts in
// each bar by its share of the time, its cost and bytes alike.
std::vector<UsageBar> UsageBars(const std::vector<UsageSession>& sessions, const std::string& entry,
                                UsageSpan span, int year, int month);

// Whether the session ended by the line's doing rather than the user's or the program's,
// or with an error from RAS.
bool EndedByTheLine(const UsageSession& session);

// The sessions of `entry` (empty: all) that began within the bars' span, in order.
std::vector<const UsageSession*> SessionsIn(const std::vector<UsageSession>& sessions,
                                            const std::string& entry,
                                            const std::vector<UsageBar>& bars);

// Those sessions as "Sessions.csv" holds them, its header first, or each line as
// SpreadsheetLine makes it for `spreadsheet`. A volume not known is left empty.
std::string ExportSessions(const std::vector<const UsageSession*>& sessions,
                           const std::optional<SpreadsheetForm>& spreadsheet = std::nullopt);
