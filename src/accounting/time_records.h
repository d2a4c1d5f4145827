// "TimeCount.CSV" beside the executable, one line per finished session, and the checkpoint
// "TimeCount.run" that keeps a running session should the program die while online.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/locale.h"
#include "profiles/account_table.h"
#include "profiles/entry_info.h"

struct TimeRecord {
  double start = 0;     // date-time of the connect
  double duration = 0;  // days
  long double expense = 0;
  std::string entry;  // the phonebook entry
};

// Start, duration, expense and entry, separated by four TABs (not commas) and ended by
// CR LF. The numbers are in the shortest general form of up to 15 significant digits with
// `decimal_separator`.
std::string FormatTimeRecord(const TimeRecord& record, char decimal_separator);

// A record as read, pointing into the line read. Most records of a long file lie before
// every counter's period and their expense is never needed, so it is only checked to be a
// number when read, and converted when asked.
struct TimeRecordView {
  double start;
  double duration;
  std::string_view expense_text;
  std::string_view entry;
  char mark = '.';  // the user's decimal separator, read besides "." and ","

  double Expense() const;
};

struct BadLine {
  std::size_t number;  // counted from 1
  std::string text;    // its first 80 characters, and "..." when there are more
};

// Reads text as session records, a piece at a time as a file is read: hands every record
// to `take`, in order, and keeps the lines that are not one, the first kKeptBadLines and
// the others counted. Lines end at LF, with or without a CR before it; a line cut between
// two pieces is read whole, and Finish reads a last line that has no end. A record
// is three numbers each followed by four TABs (read with "." or "," or `mark`, the user's
// own, as the decimal separator), then the entry to the end of the line; its start and duration are
// not negative and it ends before the year 10000. Empty lines are passed over unreported.
class TimeRecordReader {
 public:
  using Take = std::function<void(const TimeRecordView&)>;
  explicit TimeRecordReader(Take take, char mark = '.') : take_(std::move(take)), mark_(mark) {}

  void Feed(std::string_view piece);
  void Finish();

  const std::vector<BadLine>& FirstBadLines() const { return first_bad_; }
  std::size_t BadLineCount() const { return bad_count_; }

  static constexpr std::size_t kKeptBadLines = 10;

 private:
  void Line(std::string_view line);

  Take take_;
  char mark_;
  std::string partial_;  // the start of a line cut by the end of a piece
  std::size_t number_ = 0;
  std::vector<BadLine> first_bad_;
  std::size_t bad_count_ = 0;
};

// The rate plan of an entry, as its profile holds it.
using PlanOf = std::function<RatePlan(const std::string& entry)>;

// Failures come back as plain texts naming the file, for the caller to show; none of them
// stops the program. "TimeCount.CSV" is only ever appended to.
class TimeRecords {
 public:
  TimeRecords(Files& files, Locale& locale);

  std::string Path();            // "TimeCount.CSV" in the executable's folder
  std::string CheckpointPath();  // "TimeCount.run" beside it

  // Start-up, after the table is built. First RecoverCheckpoint; then, for every record of
  // an entry in the table (the first in-use row of exactly that name), in the file or kept
  // for a later write, adds to the row:
  // - today's counters: a session that ended today (its end's date is the date of `now`),
  //   and of one that began before today's midnight only the part after it;
  // - the billing counters: a session that ended from the midnight that began the last
  //   day, up to today, that starts a billing period (IsBillingDay: the BillingDay, or the
  //   month's last day in a month too short for it), and of one that began before that
  //   midnight only the part after it. A BillingDay below 1 bills by the calendar month.
  // A session whose end, by the digits the file keeps, lies less than a millisecond after
  // `now` ended now. A whole session counts with the expense the file gives; a part is
  // priced by the entry's plan, as the ticks price it online. `plan_of` is asked once per
  // entry at most, and only for entries with records. A missing file is created empty. Lines that
  // are not records are skipped and reported, the first kKeptBadLines one text each with their
  // number and text, the others in one text with their count; the other lines still count.
  // The file is read a piece at a time: its size costs time, not memory.
  std::vector<std::string> LoadTimeRecords(TAccountTable& table, const PlanOf& plan_of, double now);
  // After a start at which "TimeCount.CSV" existed but could not be read: adds its sessions
  // to the rows as LoadTimeRecords would, but for those the counters hold already (the
  // sessions of the checkpoint and those this run wrote). True once done, or when nothing
  // was left out; false while it still cannot be read.
  bool AddUnread(TAccountTable& table, const PlanOf& plan_of, double now);

  // Appends the record's line, after those of earlier sessions that could not be written
  // (of those kept while the file could not be read, the ones it does not hold yet),
  // creating the file when missing, then removes the checkpoint. When the lines cannot be
  // written, returns false with the reason in `error`: the sessions are kept, in order, in
  // memory and in the checkpoint, for the next write or the next start to append.
  bool SaveSessionRecord(const TimeRecord& record, std::string& error);

  // Makes the checkpoint hold the sessions not yet written and the running session's
  // record, one line each, as one whole-file write. On failure returns false with the
  // reason in `error`; the previous checkpoint stays.
  bool WriteCheckpoint(const TimeRecord& record, std::string& error);

  // The running session is not to be recorded (exit without logs): the checkpoint keeps
  // only the sessions not yet written, and goes when there are none.
  void DiscardCheckpoint();

  // Sessions left in the checkpoint by a run that died, or that could not be written: each
  // one "TimeCount.CSV" does not hold yet (the same entry and start, to the digits a line
  // keeps; the run died after saving it) is appended, and the checkpoint is removed, or
  // emptied when it cannot be removed. So a session is recorded exactly once, however
  // often this runs. When "TimeCount.CSV" cannot be read or written the sessions stay, in
  // memory and in the checkpoint, for a later write. Lines of the checkpoint that are no
  // record are reported and dropped.
  std::vector<std::string> RecoverCheckpoint();

 private:
  // Removed, or else emptied; an empty checkpoint holds nothing to recover.
  void ClearCheckpoint();
  // The sessions not yet written and `running`, if any, as the checkpoint's lines.
  bool KeepInCheckpoint(const std::optional<TimeRecord>& running, std::string& error);
  std::vector<TimeRecord> NotRecorded(const std::vector<TimeRecord>& sessions, std::string& error);
  // The unverified sessions the file does not hold go before the unsaved ones; false, with
  // `error`, while the file cannot be read.
  bool Verify(std::string& error);
  std::string Lines(const std::vector<TimeRecord>& records);
  // Notes a session the counters hold, while the file's are left out.
  void Counted(const TimeRecord& session);
  // Reads "TimeCount.CSV" through `reader`; false as Files::ReadPieces.
  bool ReadRecords(TimeRecordReader& reader, std::string& error);

  Files& files_;
  Locale& locale_;
  std::vector<TimeRecord> unsaved_;  // sessions whose lines could not be appended yet
  // Sessions of the checkpoint found at start while "TimeCount.CSV" could not be read, so
  // that which of them it holds is not known yet.
  std::vector<TimeRecord> unverified_;
  // While the sessions of a file unread at start are not counted: the sessions the
  // counters hold already, by start as a line writes it and entry.
  std::optional<std::multiset<std::pair<std::string, std::string>>> counted_;
};
