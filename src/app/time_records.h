// "TimeCount.CSV" beside the executable, one line per finished session, and the checkpoint
// "TimeCount.run" that keeps a running session should the program die while online.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
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

// A record as read, its entry pointing into the text read.
struct TimeRecordView {
  double start;
  double duration;
  double expense;
  std::string_view entry;
};

struct BadLine {
  std::size_t number;  // counted from 1
  std::string_view text;
};

// Hands every session record of a file's text to `take`, in the file's order, and returns
// the lines that are not one. Lines end at LF, with or without a CR before it. A record is
// three numbers each followed by four TABs (read with "." or "," as the decimal separator),
// then the entry to the end of the line; its start and duration are not negative and it
// ends before the year 10000. Empty lines are passed over unreported.
std::vector<BadLine> ParseTimeRecords(std::string_view text,
                                      const std::function<void(const TimeRecordView&)>& take);

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
  // an entry in the table (the first in-use row of exactly that name), adds to the row:
  // - today's counters: a session that ended today (its end's date is the date of `now`),
  //   and of one that began before today's midnight only the part after it;
  // - the billing counters: a session that ended from the midnight that began the last
  //   day, up to today, whose day of the month is the entry's BillingDay, and of one that
  //   began before that midnight only the part after it. A BillingDay outside 1..31 adds
  //   nothing. A month without that day (31 in April) has no billing day.
  // A whole session counts with the expense the file gives; a part is priced by the
  // entry's plan, as the ticks price it online. `plan_of` is asked once per entry at most,
  // and only for entries with records. A missing file is created empty. Lines that are not
  // records are skipped and reported, the first kReportedLines one text each with their
  // number and text, the others in one text with their count; the other lines still count.
  std::vector<std::string> LoadTimeRecords(TAccountTable& table, const PlanOf& plan_of, double now);

  // Appends the record's line, creating the file when missing, then removes the
  // checkpoint. When the line cannot be written, returns false with the reason in `error`
  // and the checkpoint stays for the next start to recover.
  bool SaveSessionRecord(const TimeRecord& record, std::string& error);

  // Makes the checkpoint hold the running session's record, as one whole-file write. On
  // failure returns false with the reason in `error`; the previous checkpoint stays.
  bool WriteCheckpoint(const TimeRecord& record, std::string& error);

  // The running session is not to be recorded (exit without logs): the checkpoint goes.
  void DiscardCheckpoint();

  // A checkpoint left by a run that died while online: its session is appended to
  // "TimeCount.CSV", unless the file already holds a session of the same start and entry
  // (the run died after saving it), and the checkpoint is removed, or emptied when it
  // cannot be removed. So a session is recorded exactly once, however often this runs.
  // When "TimeCount.CSV" cannot be read or written the checkpoint stays for a later start.
  // A checkpoint that holds no record is reported and removed.
  std::vector<std::string> RecoverCheckpoint();

  static constexpr std::size_t kReportedLines = 10;

 private:
  // Removed, or else emptied; an empty checkpoint holds nothing to recover.
  void ClearCheckpoint();
  bool HoldsSession(const TimeRecord& session, std::string& error);

  Files& files_;
  Locale& locale_;
};
