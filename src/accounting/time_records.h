// "TimeCount.CSV" in the data folder, one line per finished session, "Sessions.csv" beside
// it with the fuller record of each, and the checkpoint "TimeCount.run" that keeps a
// running session should the program die while online.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "accounting/line_reader.h"
#include "platform/files.h"
#include "platform/locale.h"
#include "profiles/account_table.h"
#include "profiles/entry_info.h"

struct TimeRecord {
  double start = 0;     // date-time of the connect
  double duration = 0;  // days
  long double expense = 0;
  std::string entry;  // the phonebook entry
  // Kept in "Sessions.csv" and the checkpoint only; a checkpoint line of an older run
  // has none of them.
  double end = 0;                        // local date-time of the end; 0: start + duration
  std::optional<int> start_offset = {};  // minutes ahead of UTC
  std::optional<int> end_offset = {};
  uint64_t received = 0, sent = 0;  // bytes
  std::string reason = {};          // how it ended; empty: not known
  uint32_t ras_code = 0;            // the error RAS gave for its end; 0: none
  // Those that counted against the budget, the free hours' left out; not known in a line
  // of an older run.
  std::optional<uint64_t> budget_bytes = {};
};

// Start, duration, expense and entry, separated by four TABs (not commas) and ended by
// CR LF. The numbers are in the shortest general form of up to 15 significant digits with
// `decimal_separator`.
std::string FormatTimeRecord(const TimeRecord& record, char decimal_separator);

// The checkpoint's line of a record: FormatTimeRecord's fields, then, after the entry and
// the same separator, those "Sessions.csv" adds (end, both offsets, the bytes received and
// sent, how it ended, the RAS code, the budget's bytes or nothing when not known).
std::string FormatCheckpointLine(const TimeRecord& record, char decimal_separator);

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

// Reads text as session records, as LineReader reads lines, and hands every record to
// `take`, in order. A record is three numbers each followed by four TABs (read with "." or
// "," or `mark`, the user's own, as the decimal separator), then the entry to the end of the
// line; its start and duration are not negative and it ends before the year 10000.
class TimeRecordReader : public LineReader {
 public:
  using Take = std::function<void(const TimeRecordView&)>;
  explicit TimeRecordReader(Take take, char mark = '.') : take_(std::move(take)), mark_(mark) {}

 private:
  bool Line(std::string_view line) override;

  Take take_;
  char mark_;
};

// The rate plan of an entry, as its profile holds it.
using PlanOf = std::function<RatePlan(const std::string& entry)>;

class RecordTally;  // adds stored sessions to the rows of their entries

// Failures come back as plain texts naming the file, for the caller to show; none of them
// stops the program. Both files are only ever appended to, each on its own: a session one
// of them could not take waits, in memory and in the checkpoint, for that file alone.
class TimeRecords {
 public:
  TimeRecords(Files& files, Locale& locale);

  std::string Path();            // "TimeCount.CSV" in the data folder
  std::string SessionsPath();    // "Sessions.csv" beside it
  std::string CheckpointPath();  // "TimeCount.run" beside it

  // Start-up, after the table is built. First RecoverCheckpoint; then, for every record of
  // an entry in the table (the first in-use row of exactly that name), in the file or kept
  // for a later write, adds to the row:
  // - today's counters: a session that ended today (its end's date is the date of `now`),
  //   and of one that began before today's midnight only the part after it;
  // - the billing counters: a session that ended from the midnight that began the last
  //   day, up to today, that starts a billing period (IsBillingDay: the BillingDay, or the
  //   month's last day in a month too short for it), and of one that began before that
  //   midnight only the part after it; the budget counters the same less what lay in the
  //   entry's free hours.
  // A session whose end, by the digits the file keeps, lies less than a millisecond after
  // `now` ended now. A whole session counts with the expense the file gives; a part is
  // priced by the entry's plan, as the ticks price it online. `plan_of` is asked once per
  // entry at most, and only for entries with records. A missing file is created empty. Lines that
  // are not records are skipped and reported, the first kKeptBadLines one text each with their
  // number and text, the others in one text with their count; the other lines still count.
  // The bytes of the billing counters come from "Sessions.csv" likewise (a session's share
  // of a span is its share of the time); its entries are matched in UTF-8. The budget's
  // bytes are those its line kept as counted against the budget (of a session across the
  // period's start, the share of its time outside the free hours that lies in the period);
  // for a line that kept none, the billing bytes less the free hours' share of the time.
  // The files are read a piece at a time: their size costs time, not memory.
  std::vector<std::string> LoadTimeRecords(TAccountTable& table, const PlanOf& plan_of, double now);
  // After a start at which a file existed but could not be read: adds its sessions to the
  // rows as LoadTimeRecords would, but for those the counters hold already (the sessions
  // of the checkpoint and those this run wrote). True once done, or when nothing was left
  // out; false while one still cannot be read.
  bool AddUnread(TAccountTable& table, const PlanOf& plan_of, double now);

  // Appends the record's line to each file, after those of earlier sessions that file
  // could not take (of those kept while it could not be read, the ones it does not hold
  // yet), creating the file when missing ("Sessions.csv" then begins with its header),
  // then keeps in the checkpoint only what some file still lacks. When a file cannot be
  // written, returns false with the reason in `error`: its sessions are kept, in order, in
  // memory and in the checkpoint, for the next write or the next start to append.
  bool SaveSessionRecord(const TimeRecord& record, std::string& error);

  // Makes the checkpoint hold the sessions not yet written and the running session's
  // record, one line each, as one whole-file write. On failure returns false with the
  // reason in `error`; the previous checkpoint stays.
  bool WriteCheckpoint(const TimeRecord& record, std::string& error);

  // Sessions left in the checkpoint by a run that died, or that could not be written: each
  // one a file does not hold yet (the same entry and start, to the digits a line of
  // "TimeCount.CSV" keeps; the run died after saving it) is appended to it, and the
  // checkpoint is removed, or emptied when it cannot be removed. So a session is recorded
  // in each file exactly once, however often this runs. When a file cannot be read or
  // written its sessions stay, in memory and in the checkpoint, for a later write. Lines of
  // the checkpoint that are no record are reported and dropped.
  std::vector<std::string> RecoverCheckpoint();

 private:
  enum FileId { kTimeCount, kSessions, kFiles };
  // Whether a file holds a session: written, not yet, or not known while it cannot be read.
  enum class Held { Yes, No, Unknown };
  struct Pending {
    TimeRecord record;
    std::array<Held, kFiles> held;
  };

  std::string PathOf(FileId file);
  // How a session is told apart in `file`.
  std::string KeyOf(FileId file, const TimeRecord& record);
  std::string Lines(FileId file, const std::vector<const TimeRecord*>& records);
  // Reads `file`'s sessions: those `count` says yes to (given each one's key), or all
  // without it, go into `tally`, when there is one; lines that are no record go into `problems`,
  // when asked. False as Files::ReadPieces.
  bool ReadFile(FileId file, const std::function<bool(const std::string& key)>& count,
                RecordTally* tally, std::string& error,
                std::vector<std::string>* problems = nullptr);
  // The Unknown sessions of `file` become Yes or No; false, with `error`, while it cannot
  // be read.
  bool Verify(FileId file, std::string& error);
  // Appends the sessions `file` does not hold; false, with `error`, when it cannot.
  bool WriteMissing(FileId file, std::string& error);
  // Forgets the sessions every file holds.
  void DropWritten();
  // Removed, or else emptied; an empty checkpoint holds nothing to recover.
  void ClearCheckpoint();
  // The sessions not yet written and `running`, if any, as the checkpoint's lines.
  bool KeepInCheckpoint(const std::optional<TimeRecord>& running, std::string& error);
  // Notes a session the counters hold, while the file's are left out.
  void Counted(FileId file, const TimeRecord& session);

  Files& files_;
  Locale& locale_;
  std::vector<Pending> pending_;  // in order; each one some file may not hold yet
  // While the sessions of a file unread at start are not counted: the sessions the
  // counters hold already, by key.
  std::array<std::optional<std::multiset<std::string>>, kFiles> counted_;
};
