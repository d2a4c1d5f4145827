// The file of finished sessions and the checkpoint of the running one.
#include "accounting/time_records.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <set>
#include <utility>

#include "accounting/accounting.h"
#include "accounting/sessions_file.h"
#include "platform/date_time.h"
#include "platform/numbers.h"

namespace {

constexpr std::string_view kSeparator = "\t\t\t\t";
constexpr double kRoundingDays = 1.0 / 86400000;  // a millisecond

const double kYear10000 = ToDateTime({10000, 1, 1});

// The number before the next separator; `rest` goes on after that separator. False when
// there is no separator or the text before it is not a number.
bool TakeNumber(std::string_view& rest, double& number, char mark) {
  // The usual field, a plain decimal right before the separator, takes one pass.
  const std::size_t length = ParsePlainDecimal(rest, number, mark);
  if (length > 0 && rest.substr(length).starts_with(kSeparator)) {
    rest.remove_prefix(length + kSeparator.size());
    return true;
  }
  const std::size_t end = rest.find(kSeparator);
  if (end == std::string_view::npos) {
    return false;
  }
  const std::optional<double> parsed = ParseReal(rest.substr(0, end), mark);
  rest.remove_prefix(end + kSeparator.size());
  number = parsed.value_or(0);
  return parsed.has_value();
}

// The number before the next separator, as text; `rest` goes on after that separator.
// False as TakeNumber.
bool TakeNumberText(std::string_view& rest, std::string_view& text, char mark) {
  std::size_t length = PlainDecimalLength(rest, mark);
  if (length == 0 || !rest.substr(length).starts_with(kSeparator)) {
    length = rest.find(kSeparator);
    if (length == std::string_view::npos || !ParseReal(rest.substr(0, length), mark)) {
      return false;
    }
  }
  text = rest.substr(0, length);
  rest.remove_prefix(length + kSeparator.size());
  return true;
}

std::optional<TimeRecordView> ParseLine(std::string_view line, char mark) {
  TimeRecordView record{};
  record.mark = mark;
  if (!TakeNumber(line, record.start, mark) || !TakeNumber(line, record.duration, mark) ||
      !TakeNumberText(line, record.expense_text, mark) || record.start < 0 || record.duration < 0 ||
      record.start + record.duration >= kYear10000) {
    return std::nullopt;
  }
  record.entry = line;
  return record;
}

// The part of the session, taken as ending at `end`, after `from`: all of it at the expense
// the file gives, or the part after that midnight as the plan prices it.
Spent PartAfter(double start, double duration, long double expense, double end, double from,
                const RatePlan& plan) {
  if (start >= from)
    return {duration, expense};
  return {end - from, ComputeExpense(plan, from, end - from)};
}

std::optional<int> Offset(std::string_view text) {
  constexpr int kDay = 24 * 60;
  const std::optional<int> minutes = ParseInteger(text);
  return minutes && *minutes > -kDay && *minutes < kDay ? minutes : std::nullopt;
}

// A checkpoint's line: the fields of "TimeCount.CSV", then, after the entry, those kept for
// "Sessions.csv", which an older run's line does not have.
TimeRecord FromCheckpoint(const TimeRecordView& view) {
  std::vector<std::string_view> fields;
  std::string_view rest = view.entry;
  for (std::size_t at; (at = rest.find(kSeparator)) != std::string_view::npos;) {
    fields.push_back(rest.substr(0, at));
    rest.remove_prefix(at + kSeparator.size());
  }
  fields.push_back(rest);
  TimeRecord record{view.start, view.duration, view.Expense(), std::string(fields[0])};
  if (fields.size() < 7)
    return record;
  // Anything out of its range reads as not known.
  const double end = ParseReal(fields[1]).value_or(0);
  record.end = end >= view.start && end < kYear10000 ? end : 0;
  record.start_offset = Offset(fields[2]);
  record.end_offset = Offset(fields[3]);
  record.received = ParseCount(fields[4]).value_or(0);
  record.sent = ParseCount(fields[5]).value_or(0);
  record.reason = fields[6];
  // An older run's line has no code, or no budget's bytes.
  const uint64_t code = fields.size() > 7 ? ParseCount(fields[7]).value_or(0) : 0;
  record.ras_code = code <= UINT32_MAX ? static_cast<uint32_t>(code) : 0;
  if (fields.size() > 8)
    record.budget_bytes = ParseCount(fields[8]);
  return record;
}

}  // namespace

// Adds stored sessions to the rows of their entries: their time and cost from
// "TimeCount.CSV", their bytes from "Sessions.csv".
class RecordTally {
 public:
  RecordTally(TAccountTable& table, const PlanOf& plan_of, double now, Locale& locale)
      : table_(table),
        plan_of_(plan_of),
        locale_(locale),
        now_(now),
        today_(std::floor(now)),
        earliest_(EarliestStart()) {}

  // A session kept for a later write counts as the files will hold it.
  void AddTime(const TimeRecord& session) {
    const std::string expense = FormatReal(static_cast<double>(session.expense), '.');
    AddTime(TimeRecordView{session.start, session.duration, expense, session.entry, '.'});
  }
  void AddVolume(const TimeRecord& session) {
    AddVolume(session.start, session.duration, session.received + session.sent,
              session.budget_bytes, Find(session.entry));
  }

  void AddTime(const TimeRecordView& session) {
    const double end = End(session.start, session.duration);
    const int index = Counts(end) ? Find(session.entry) : -1;
    if (index < 0)
      return;
    AccountInfo& row = table_[index];
    const Entry& entry = EntryOf(index);
    const long double expense = session.Expense();
    if (end >= today_) {
      const Spent part =
          PartAfter(session.start, session.duration, expense, end, today_, entry.plan);
      row.TodayTime += part.time;
      row.TodayExpense += part.expense;
    }
    if (end >= entry.billing_start) {
      const double from = std::max(session.start, entry.billing_start);
      const Spent part = PartAfter(session.start, session.duration, expense, end, from, entry.plan);
      const Spent free = FreeHoursIn(entry.plan, from, end);
      row.BillingTime += part.time;
      row.BillingExpense += part.expense;
      row.BudgetTime += part.time - free.time;
      row.BudgetExpense += part.expense - free.expense;
    }
  }

  void AddVolume(const SessionLine& session) {
    const double duration = session.seconds / 86400;
    const double end = End(session.local_start, duration);
    AddVolume(session.local_start, duration, session.received + session.sent, session.budget_bytes,
              Counts(end) ? FindUtf8(session.entry) : -1);
  }

 private:
  struct Entry {
    RatePlan plan;
    double billing_start = 0;
  };

  // The file keeps 15 digits: a session that ended as the program started may read as
  // ending a hair later, past a midnight.
  double End(double start, double duration) const {
    const double end = start + duration;
    return end > now_ && end - now_ < kRoundingDays ? now_ : end;
  }
  bool Counts(double end) const { return end >= earliest_ && end < today_ + 1; }

  void AddVolume(double start, double duration, uint64_t bytes,
                 std::optional<uint64_t> budget_bytes, int index) {
    if (index < 0)
      return;
    const Entry& entry = EntryOf(index);
    const double end = End(start, duration);
    if (end < entry.billing_start)
      return;
    const double from = std::max(start, entry.billing_start);
    const double share = duration > 0 ? (end - from) / duration : 1;
    // The time outside the free hours, in the period and in all.
    const double counted = end - from - FreeHoursIn(entry.plan, from, end).time;
    AccountInfo& row = table_[index];
    row.BillingBytes += static_cast<uint64_t>(std::llround(bytes * share));
    if (budget_bytes) {
      const double all = from > start ? end - start - FreeHoursIn(entry.plan, start, end).time : 0;
      row.BudgetBytes +=
          static_cast<uint64_t>(std::llround(*budget_bytes * (all > 0 ? counted / all : 1)));
    } else {
      row.BudgetBytes +=
          static_cast<uint64_t>(std::llround(bytes * (duration > 0 ? counted / duration : 1)));
    }
  }

  // No counter's period begins before this, whatever an entry's billing day: most of a
  // long file ends earlier and needs no look-up of its entry.
  double EarliestStart() const {
    double earliest = today_;
    for (int day = 1; day <= 31; ++day) {
      earliest = std::min(earliest, BillingPeriodStart(day, today_));
    }
    return earliest;
  }

  // Files tend to hold long runs of one entry, so the last row found is tried first.
  int Find(std::string_view name) {
    if (last_found_ >= 0 && table_[last_found_].EntryName == name) {
      return last_found_;
    }
    for (int i = 0; i < kAccountRows && table_[i].InUse; ++i) {
      if (table_[i].EntryName == name) {
        return last_found_ = i;
      }
    }
    return -1;
  }

  int FindUtf8(std::string_view name) {
    if (utf8_names_.empty()) {
      for (int i = 0; i < kAccountRows && table_[i].InUse; ++i)
        utf8_names_.push_back(locale_.AnsiToUtf8(table_[i].EntryName));
    }
    const auto found = std::find(utf8_names_.begin(), utf8_names_.end(), name);
    return found == utf8_names_.end() ? -1 : static_cast<int>(found - utf8_names_.begin());
  }

  const Entry& EntryOf(int index) {
    std::optional<Entry>& entry = entries_[index];
    if (!entry) {
      const RatePlan plan = plan_of_(table_[index].EntryName);
      entry = Entry{plan, BillingPeriodStart(plan.BillingDay, today_)};
    }
    return *entry;
  }

  TAccountTable& table_;
  const PlanOf& plan_of_;
  Locale& locale_;
  const double now_;
  const double today_;
  const double earliest_;
  std::array<std::optional<Entry>, kAccountRows> entries_;
  std::vector<std::string> utf8_names_;
  int last_found_ = -1;
};

namespace {

void ReportBadLines(const std::string& path, const LineReader& reader,
                    std::vector<std::string>& problems) {
  for (const BadLine& bad : reader.FirstBadLines()) {
    problems.push_back(path + ", line " + std::to_string(bad.number) + ": \"" + bad.text +
                       "\" is not a session record; it is skipped.");
  }
  const std::size_t more = reader.BadLineCount() - reader.FirstBadLines().size();
  if (more > 0) {
    problems.push_back(path + ": " + std::to_string(more) +
                       " more lines are not session records; they are skipped.");
  }
}

}  // namespace

std::string FormatTimeRecord(const TimeRecord& record, char decimal_separator) {
  std::string line = FormatReal(record.start, decimal_separator);
  line += kSeparator;
  line += FormatReal(record.duration, decimal_separator);
  line += kSeparator;
  line += FormatReal(static_cast<double>(record.expense), decimal_separator);
  line += kSeparator;
  line += record.entry;
  line += "\r\n";
  return line;
}

std::string FormatCheckpointLine(const TimeRecord& record, char decimal_separator) {
  std::string line = FormatTimeRecord(record, decimal_separator);
  line.resize(line.size() - 2);  // its CR LF
  const auto offset = [](std::optional<int> minutes) {
    return minutes ? std::to_string(*minutes) : std::string();
  };
  for (const std::string& extra :
       {FormatReal(record.end, '.'), offset(record.start_offset), offset(record.end_offset),
        std::to_string(record.received), std::to_string(record.sent), record.reason,
        std::to_string(record.ras_code),
        record.budget_bytes ? std::to_string(*record.budget_bytes) : std::string()}) {
    line += kSeparator;
    line += extra;
  }
  return line + "\r\n";
}

double TimeRecordView::Expense() const {
  return ParseReal(expense_text, mark).value_or(0);
}

bool TimeRecordReader::Line(std::string_view line) {
  const std::optional<TimeRecordView> record = ParseLine(line, mark_);
  if (record)
    take_(*record);
  return record.has_value();
}

TimeRecords::TimeRecords(Files& files, Locale& locale) : files_(files), locale_(locale) {}

std::string TimeRecords::Path() {
  return files_.DataDir() + "TimeCount.CSV";
}

std::string TimeRecords::SessionsPath() {
  return files_.DataDir() + "Sessions.csv";
}

std::string TimeRecords::CheckpointPath() {
  return files_.DataDir() + "TimeCount.run";
}

std::string TimeRecords::PathOf(FileId file) {
  return file == kTimeCount ? Path() : SessionsPath();
}

std::string TimeRecords::KeyOf(FileId file, const TimeRecord& record) {
  if (file == kTimeCount)
    return FormatReal(record.start, '.') + "," + record.entry;
  TimeRecord utf8 = record;
  utf8.entry = locale_.AnsiToUtf8(record.entry);
  return SessionKey(utf8);
}

std::vector<std::string> TimeRecords::LoadTimeRecords(TAccountTable& table, const PlanOf& plan_of,
                                                      double now) {
  std::vector<std::string> problems = RecoverCheckpoint();
  RecordTally tally(table, plan_of, now, locale_);
  static const char* const kLeftOut[kFiles] = {
      "Today's and the billing period's time and cost leave its sessions out",
      "The billing period's volume leaves its sessions out"};
  for (const FileId file : {kTimeCount, kSessions}) {
    std::string error;
    counted_[file].reset();
    if (ReadFile(file, nullptr, &tally, error, &problems))
      continue;
    if (!error.empty()) {
      problems.push_back("Cannot read " + PathOf(file) + ": " + error + "\n" + kLeftOut[file] +
                         " until it can be read.");
      counted_[file].emplace();
    } else if (file == kTimeCount && !files_.Append(Path(), "", error)) {
      problems.push_back("Cannot create " + Path() + ": " + error);
    }
  }
  for (const Pending& kept : pending_) {
    if (kept.held[kTimeCount] != Held::Yes) {
      tally.AddTime(kept.record);
      Counted(kTimeCount, kept.record);
    }
    if (kept.held[kSessions] != Held::Yes) {
      tally.AddVolume(kept.record);
      Counted(kSessions, kept.record);
    }
  }
  return problems;
}

void TimeRecords::Counted(FileId file, const TimeRecord& session) {
  if (counted_[file])
    counted_[file]->insert(KeyOf(file, session));
}

bool TimeRecords::AddUnread(TAccountTable& table, const PlanOf& plan_of, double now) {
  bool done = true;
  for (const FileId file : {kTimeCount, kSessions}) {
    if (!counted_[file])
      continue;
    RecordTally tally(table, plan_of, now, locale_);
    std::multiset<std::string> counted = *counted_[file];
    const auto uncounted = [&counted](const std::string& key) {
      const auto found = counted.find(key);
      if (found == counted.end())
        return true;
      counted.erase(found);
      return false;
    };
    std::string error;
    if (!ReadFile(file, uncounted, &tally, error) && !error.empty()) {
      done = false;
      continue;
    }
    counted_[file].reset();
  }
  return done;
}

bool TimeRecords::ReadFile(FileId file, const std::function<bool(const std::string&)>& count,
                           RecordTally* tally, std::string& error,
                           std::vector<std::string>* problems) {
  // Without `count` every session counts, and no key is made.
  TimeRecordReader times(
      [&](const TimeRecordView& session) {
        if ((!count || count(FormatReal(session.start, '.') + "," + std::string(session.entry))) &&
            tally)
          tally->AddTime(session);
      },
      locale_.DecimalSeparator());
  SessionLineReader volumes([&](const SessionLine& session) {
    if ((!count || count(session.Key())) && tally)
      tally->AddVolume(session);
  });
  LineReader& reader = file == kTimeCount ? static_cast<LineReader&>(times) : volumes;
  error.clear();
  if (!files_.ReadPieces(
          PathOf(file), [&reader](std::string_view piece) { reader.Feed(piece); }, error))
    return false;
  reader.Finish();
  if (problems)
    ReportBadLines(PathOf(file), reader, *problems);
  return true;
}

std::string TimeRecords::Lines(FileId file, const std::vector<const TimeRecord*>& records) {
  std::string text;
  for (const TimeRecord* record : records) {
    text += file == kTimeCount ? FormatTimeRecord(*record, locale_.DecimalSeparator())
                               : FormatSessionLine(*record, locale_.AnsiToUtf8(record->entry));
  }
  return text;
}

bool TimeRecords::Verify(FileId file, std::string& error) {
  std::multiset<std::string> keys;
  for (const Pending& kept : pending_) {
    if (kept.held[file] == Held::Unknown)
      keys.insert(KeyOf(file, kept.record));
  }
  if (keys.empty())
    return true;
  std::multiset<std::string> held;
  const auto note = [&](const std::string& key) {
    if (keys.count(key))
      held.insert(key);
    return false;
  };
  if (!ReadFile(file, note, nullptr, error) && !error.empty())
    return false;
  for (Pending& kept : pending_) {
    if (kept.held[file] != Held::Unknown)
      continue;
    const auto found = held.find(KeyOf(file, kept.record));
    kept.held[file] = found != held.end() ? Held::Yes : Held::No;
    if (found != held.end())
      held.erase(found);
  }
  return true;
}

bool TimeRecords::WriteMissing(FileId file, std::string& error) {
  std::vector<const TimeRecord*> missing;
  for (const Pending& kept : pending_) {
    if (kept.held[file] == Held::No)
      missing.push_back(&kept.record);
  }
  if (missing.empty())
    return true;
  // A new "Sessions.csv" begins with its header.
  const std::string start =
      file == kSessions && !files_.Exists(SessionsPath()) ? kSessionsFileStart : "";
  if (!files_.Append(PathOf(file), start + Lines(file, missing), error))
    return false;
  for (Pending& kept : pending_) {
    if (kept.held[file] == Held::No) {
      kept.held[file] = Held::Yes;
      Counted(file, kept.record);  // its time is in the counters already
    }
  }
  return true;
}

void TimeRecords::DropWritten() {
  std::erase_if(pending_, [](const Pending& kept) {
    return std::all_of(kept.held.begin(), kept.held.end(),
                       [](Held held) { return held == Held::Yes; });
  });
}

bool TimeRecords::SaveSessionRecord(const TimeRecord& record, std::string& error) {
  pending_.push_back({record, {Held::No, Held::No}});
  error.clear();
  for (const FileId file : {kTimeCount, kSessions}) {
    std::string ignored, failure;  // what is not verified stays in memory and in the checkpoint
    Verify(file, ignored);
    if (!WriteMissing(file, failure))
      error += (error.empty() ? "" : "\n") + ("Cannot write " + PathOf(file) + ": " + failure);
  }
  DropWritten();
  std::string ignored;  // the sessions stay in memory all the same
  KeepInCheckpoint(std::nullopt, ignored);
  return error.empty();
}

bool TimeRecords::WriteCheckpoint(const TimeRecord& record, std::string& error) {
  return KeepInCheckpoint(record, error);
}

bool TimeRecords::KeepInCheckpoint(const std::optional<TimeRecord>& running, std::string& error) {
  std::string text;
  for (const Pending& kept : pending_)
    text += FormatCheckpointLine(kept.record, locale_.DecimalSeparator());
  if (running)
    text += FormatCheckpointLine(*running, locale_.DecimalSeparator());
  if (text.empty()) {
    ClearCheckpoint();
    return true;
  }
  if (!files_.ReplaceWhole(CheckpointPath(), text, error)) {
    error = "Cannot write " + CheckpointPath() + ": " + error;
    return false;
  }
  return true;
}

std::vector<std::string> TimeRecords::RecoverCheckpoint() {
  std::vector<std::string> problems;
  std::string text, error;
  if (!files_.ReadAll(CheckpointPath(), text, error)) {
    if (!error.empty()) {
      problems.push_back("Cannot read " + CheckpointPath() + ": " + error);
    }
    return problems;
  }
  pending_.clear();
  TimeRecordReader reader(
      [this](const TimeRecordView& r) {
        pending_.push_back({FromCheckpoint(r), {Held::Unknown, Held::Unknown}});
      },
      locale_.DecimalSeparator());
  reader.Feed(text);
  reader.Finish();
  if (reader.BadLineCount() > 0) {
    problems.push_back(CheckpointPath() + " holds lines that are no session record; they are " +
                       "dropped.");
  }
  for (const FileId file : {kTimeCount, kSessions}) {
    const bool read = Verify(file, error);
    if (!read || !WriteMissing(file, error))
      problems.push_back("Cannot " + std::string(read ? "write " : "read ") + PathOf(file) + ": " +
                         error + "\nThe sessions of " + CheckpointPath() +
                         " stay there for the next write.");
  }
  DropWritten();
  std::string ignored;  // the checkpoint holds them already, or memory does
  KeepInCheckpoint(std::nullopt, ignored);
  return problems;
}

void TimeRecords::ClearCheckpoint() {
  if (!files_.Exists(CheckpointPath()) || files_.Remove(CheckpointPath())) {
    return;
  }
  std::string error;
  files_.ReplaceWhole(CheckpointPath(), "", error);
}
