// The file of finished sessions and the checkpoint of the running one.
#include "accounting/time_records.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <set>
#include <utility>

#include "accounting/accounting.h"
#include "platform/date_time.h"
#include "platform/numbers.h"

namespace {

constexpr std::string_view kSeparator = "\t\t\t\t";
constexpr std::size_t kShownLineLength = 80;
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

// Adds the part of the session, taken as ending at `end`, after `from` to the counters:
// all of it at the expense the file gives, or the part after that midnight as the plan
// prices it.
void AddAfter(const TimeRecordView& session, double end, double from, const RatePlan& plan,
              double& time, long double& expense) {
  if (session.start >= from) {
    time += session.duration;
    expense += session.Expense();
    return;
  }
  const double part = end - from;
  time += part;
  expense += ComputeExpense(plan, from, part);
}

// Adds stored sessions to the rows of their entries.
class Tally {
 public:
  Tally(TAccountTable& table, const PlanOf& plan_of, double now)
      : table_(table),
        plan_of_(plan_of),
        now_(now),
        today_(std::floor(now)),
        earliest_(EarliestStart()) {}

  // A session kept for a later write counts as the file will hold it.
  void Add(const TimeRecord& session) {
    const std::string expense = FormatReal(static_cast<double>(session.expense), '.');
    Add(TimeRecordView{session.start, session.duration, expense, session.entry, '.'});
  }

  void Add(const TimeRecordView& session) {
    // The file keeps 15 digits: a session that ended as the program started may read as
    // ending a hair later, past a midnight.
    double end = session.start + session.duration;
    if (end > now_ && end - now_ < kRoundingDays)
      end = now_;
    const int index = end >= earliest_ && end < today_ + 1 ? Find(session.entry) : -1;
    if (index < 0) {
      return;
    }
    AccountInfo& row = table_[index];
    const Entry& entry = EntryOf(index);
    if (end >= today_) {
      AddAfter(session, end, today_, entry.plan, row.TodayTime, row.TodayExpense);
    }
    if (end >= entry.billing_start) {
      AddAfter(session, end, entry.billing_start, entry.plan, row.BillingTime, row.BillingExpense);
    }
  }

 private:
  struct Entry {
    RatePlan plan;
    double billing_start = 0;
  };

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
  const double now_;
  const double today_;
  const double earliest_;
  std::array<std::optional<Entry>, kAccountRows> entries_;
  int last_found_ = -1;
};

std::string Shown(std::string_view line) {
  return line.size() <= kShownLineLength ? std::string(line)
                                         : std::string(line.substr(0, kShownLineLength)) + "...";
}

void ReportBadLines(const std::string& path, const TimeRecordReader& reader,
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

double TimeRecordView::Expense() const {
  return ParseReal(expense_text, mark).value_or(0);
}

void TimeRecordReader::Feed(std::string_view piece) {
  for (std::size_t end; (end = piece.find('\n')) != std::string_view::npos;) {
    if (partial_.empty()) {
      Line(piece.substr(0, end));
    } else {
      partial_.append(piece.substr(0, end));
      Line(partial_);
      partial_.clear();
    }
    piece.remove_prefix(end + 1);
  }
  partial_.append(piece);
}

void TimeRecordReader::Finish() {
  if (!partial_.empty()) {
    Line(partial_);
    partial_.clear();
  }
}

void TimeRecordReader::Line(std::string_view line) {
  ++number_;
  if (line.ends_with('\r')) {
    line.remove_suffix(1);
  }
  if (line.empty()) {
    return;
  }
  if (const std::optional<TimeRecordView> record = ParseLine(line, mark_)) {
    take_(*record);
    return;
  }
  if (first_bad_.size() < kKeptBadLines) {
    first_bad_.push_back({number_, Shown(line)});
  }
  ++bad_count_;
}

TimeRecords::TimeRecords(Files& files, Locale& locale) : files_(files), locale_(locale) {}

std::string TimeRecords::Path() {
  return files_.DataDir() + "TimeCount.CSV";
}

std::string TimeRecords::CheckpointPath() {
  return files_.DataDir() + "TimeCount.run";
}

std::vector<std::string> TimeRecords::LoadTimeRecords(TAccountTable& table, const PlanOf& plan_of,
                                                      double now) {
  std::vector<std::string> problems = RecoverCheckpoint();
  Tally tally(table, plan_of, now);
  TimeRecordReader reader([&tally](const TimeRecordView& session) { tally.Add(session); },
                          locale_.DecimalSeparator());
  std::string error;
  counted_.reset();
  if (ReadRecords(reader, error)) {
    ReportBadLines(Path(), reader, problems);
  } else if (error.empty()) {
    if (!files_.Append(Path(), "", error))
      problems.push_back("Cannot create " + Path() + ": " + error);
  } else {
    problems.push_back("Cannot read " + Path() + ": " + error +
                       "\nToday's and the billing period's time and cost leave its sessions out "
                       "until it can be read.");
    counted_.emplace();
  }
  for (const std::vector<TimeRecord>* kept : {&unverified_, &unsaved_}) {
    for (const TimeRecord& session : *kept) {
      tally.Add(session);
      Counted(session);
    }
  }
  return problems;
}

void TimeRecords::Counted(const TimeRecord& session) {
  if (counted_)
    counted_->insert({FormatReal(session.start, '.'), session.entry});
}

bool TimeRecords::AddUnread(TAccountTable& table, const PlanOf& plan_of, double now) {
  if (!counted_)
    return true;
  Tally tally(table, plan_of, now);
  std::multiset<std::pair<std::string, std::string>> counted = *counted_;
  TimeRecordReader reader(
      [&](const TimeRecordView& session) {
        const auto found =
            counted.find({FormatReal(session.start, '.'), std::string(session.entry)});
        if (found == counted.end())
          tally.Add(session);
        else
          counted.erase(found);
      },
      locale_.DecimalSeparator());
  std::string error;
  if (!ReadRecords(reader, error) && !error.empty())
    return false;
  counted_.reset();
  return true;
}

std::string TimeRecords::Lines(const std::vector<TimeRecord>& records) {
  std::string text;
  for (const TimeRecord& record : records) {
    text += FormatTimeRecord(record, locale_.DecimalSeparator());
  }
  return text;
}

bool TimeRecords::SaveSessionRecord(const TimeRecord& record, std::string& error) {
  std::string ignored;  // what is not verified stays in memory and in the checkpoint
  Verify(ignored);
  unsaved_.push_back(record);
  if (!files_.Append(Path(), Lines(unsaved_), error)) {
    error = "Cannot write " + Path() + ": " + error;
    KeepInCheckpoint(std::nullopt, ignored);  // the sessions stay in memory all the same
    return false;
  }
  for (const TimeRecord& written : unsaved_)
    Counted(written);  // their time is in the counters already
  unsaved_.clear();
  KeepInCheckpoint(std::nullopt, ignored);
  return true;
}

bool TimeRecords::Verify(std::string& error) {
  if (unverified_.empty())
    return true;
  const std::vector<TimeRecord> missing = NotRecorded(unverified_, error);
  if (!error.empty())
    return false;
  unsaved_.insert(unsaved_.begin(), missing.begin(), missing.end());
  unverified_.clear();
  return true;
}

bool TimeRecords::WriteCheckpoint(const TimeRecord& record, std::string& error) {
  return KeepInCheckpoint(record, error);
}

bool TimeRecords::KeepInCheckpoint(const std::optional<TimeRecord>& running, std::string& error) {
  std::vector<TimeRecord> kept = unverified_;
  kept.insert(kept.end(), unsaved_.begin(), unsaved_.end());
  if (running) {
    kept.push_back(*running);
  }
  if (kept.empty()) {
    ClearCheckpoint();
    return true;
  }
  if (!files_.ReplaceWhole(CheckpointPath(), Lines(kept), error)) {
    error = "Cannot write " + CheckpointPath() + ": " + error;
    return false;
  }
  return true;
}

void TimeRecords::DiscardCheckpoint() {
  std::string ignored;
  KeepInCheckpoint(std::nullopt, ignored);
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
  std::vector<TimeRecord> sessions;
  TimeRecordReader reader(
      [&sessions](const TimeRecordView& r) {
        sessions.push_back({r.start, r.duration, r.Expense(), std::string(r.entry)});
      },
      locale_.DecimalSeparator());
  reader.Feed(text);
  reader.Finish();
  if (reader.BadLineCount() > 0) {
    problems.push_back(CheckpointPath() + " holds lines that are no session record; they are " +
                       "dropped.");
  }
  unverified_ = sessions;
  unsaved_.clear();
  if (!Verify(error)) {
    problems.push_back("Cannot read " + Path() + ": " + error + "\nThe sessions of " +
                       CheckpointPath() + " stay there for the next write.");
    return problems;
  }
  if (!unsaved_.empty() && !files_.Append(Path(), Lines(unsaved_), error)) {
    std::string ignored;  // the checkpoint holds them already, or memory does
    KeepInCheckpoint(std::nullopt, ignored);
    problems.push_back("Cannot write " + Path() + ": " + error + "\nThe sessions of " +
                       CheckpointPath() + " stay there for the next write.");
    return problems;
  }
  unsaved_.clear();
  ClearCheckpoint();
  return problems;
}

void TimeRecords::ClearCheckpoint() {
  if (!files_.Exists(CheckpointPath()) || files_.Remove(CheckpointPath())) {
    return;
  }
  std::string error;
  files_.ReplaceWhole(CheckpointPath(), "", error);
}

// The sessions "TimeCount.CSV" does not hold yet, by start and entry; a file that does not
// exist holds none. Starts compare as a line writes them: a checkpoint's start of more
// digits than that would otherwise never match the line its recovery wrote. A file that
// cannot be read sets `error`.
std::vector<TimeRecord> TimeRecords::NotRecorded(const std::vector<TimeRecord>& sessions,
                                                 std::string& error) {
  std::vector<std::string> starts;
  for (const TimeRecord& session : sessions) {
    starts.push_back(FormatReal(session.start, '.'));
  }
  std::vector<bool> held(sessions.size());
  TimeRecordReader reader(
      [&](const TimeRecordView& r) {
        const std::string start = FormatReal(r.start, '.');
        for (std::size_t i = 0; i < sessions.size(); ++i) {
          held[i] = held[i] || (r.entry == sessions[i].entry && start == starts[i]);
        }
      },
      locale_.DecimalSeparator());
  error.clear();
  ReadRecords(reader, error);
  std::vector<TimeRecord> missing;
  for (std::size_t i = 0; i < sessions.size(); ++i) {
    if (!held[i]) {
      missing.push_back(sessions[i]);
    }
  }
  return missing;
}

bool TimeRecords::ReadRecords(TimeRecordReader& reader, std::string& error) {
  if (!files_.ReadPieces(
          Path(), [&reader](std::string_view piece) { reader.Feed(piece); }, error)) {
    return false;
  }
  reader.Finish();
  return true;
}
