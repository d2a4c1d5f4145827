// TimeCount.CSV and its checkpoint as anyone may have left them: the lines read the same
// however the file comes in pieces, every record read writes back as a line that reads the
// same, a sound line after the damage still counts, and a checkpoint is recovered once,
// into TimeCount.CSV and Sessions.csv alike. The same text read as Sessions.csv, quotes
// that never close and names a spreadsheet would run as formulas among it, obeys the same
// rules.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>

#include "accounting/sessions_file.h"
#include "accounting/time_records.h"
#include "fakes/fake_app_ports.h"
#include "fuzz_check.h"
#include "platform/date_time.h"

namespace {

const double kNow = ToDateTime({2026, 6, 1, 18, 0, 0});
constexpr const char* kSoundLine = "46174.25\t\t\t\t0.125\t\t\t\t1.5\t\t\t\tSound\r\n";

using Lines = std::vector<std::string>;

// The records as the lines that would write them, then the count of bad lines.
Lines Read(std::string_view text, size_t piece) {
  Lines read;
  TimeRecordReader reader([&read](const TimeRecordView& r) {
    read.push_back(FormatTimeRecord({r.start, r.duration, r.Expense(), std::string(r.entry)}, '.'));
  });
  for (size_t at = 0; at < text.size(); at += piece)
    reader.Feed(text.substr(at, piece));
  reader.Finish();
  read.push_back(std::to_string(reader.BadLineCount()) + " bad");
  return read;
}

constexpr const char* kSoundSession =
    "2026-06-01T12:00:00.000+02:00,2026-06-01T13:00:00.000+02:00,3600.000,5,6,1.5,Sound,,\r\n";

// The sessions as the fields that would write them, then the count of bad lines; each
// session's line written again goes to `written`, when its texts hold no line break and it
// lasted less than a century, as the program's own.
Lines ReadSessions(std::string_view text, size_t piece, std::string* written = nullptr) {
  Lines read;
  SessionLineReader reader([&](const SessionLine& s) {
    TimeRecord record{s.local_start, s.seconds / 86400, s.cost, std::string(s.entry)};
    record.received = s.received;
    record.sent = s.sent;
    record.reason = s.reason;
    record.ras_code = s.ras_code;
    record.budget_bytes = s.budget_bytes;
    read.push_back(s.Key() + "|" + record.reason + "|" + std::to_string(s.received) + "|" +
                   std::to_string(s.sent) + "|" + std::to_string(s.ras_code) + "|" +
                   std::to_string(s.budget_bytes.value_or(UINT64_MAX)));
    if (written && (record.entry + record.reason).find_first_of("\r\n") == std::string::npos &&
        record.duration < 36500)
      *written += FormatSessionLine(record, record.entry);
  });
  for (size_t at = 0; at < text.size(); at += piece)
    reader.Feed(text.substr(at, piece));
  reader.Finish();
  read.push_back(std::to_string(reader.BadLineCount()) + " bad");
  return read;
}

RatePlan Plan(const std::string&) {
  return {1.5, 0.5, true, {{true, 2.25, 8, 18}, {}, {true, 3, 22, 6}}, 17};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const size_t piece = input.ConsumeIntegralInRange<size_t>(1, 16);
  const std::string checkpoint = input.ConsumeRandomLengthString();
  const std::string csv = input.ConsumeRemainingBytesAsString() + "\n" + kSoundLine;

  const Lines read = Read(csv, csv.size());
  FUZZ_EXPECT(Read(csv, piece) == read);
  FUZZ_EXPECT(read.size() >= 2 && read[read.size() - 2] == kSoundLine);
  for (size_t i = 0; i + 1 < read.size(); ++i)
    FUZZ_EXPECT(Read(read[i], read[i].size()) == (Lines{read[i], "0 bad"}));

  // A torn line hides no sound one after it, and a session read reads back the same,
  // its texts in particular.
  const std::string sessions = csv.substr(0, csv.size() - std::strlen(kSoundLine)) + kSoundSession;
  std::string written;
  const Lines fields = ReadSessions(sessions, sessions.size(), &written);
  FUZZ_EXPECT(ReadSessions(sessions, piece) == fields);
  FUZZ_EXPECT(fields.size() >= 2 &&
              fields[fields.size() - 2].ends_with(",Sound||5|6|0|" + std::to_string(UINT64_MAX)));
  const Lines again_read = ReadSessions(written, written.size());
  FUZZ_EXPECT(again_read.back() == "0 bad");
  for (const std::string& line : again_read)
    FUZZ_EXPECT(line == again_read.back() ||
                std::find(fields.begin(), fields.end(), line) != fields.end());

  FakeFiles files;
  files.piece_size = piece;
  FakeLocale locale;
  TimeRecords records(files, locale);
  files.content[records.Path()] = csv;
  files.content[records.CheckpointPath()] = checkpoint;
  TAccountTable table;
  table[0].InUse = true;
  table[0].EntryName = "Sound";
  records.LoadTimeRecords(table, Plan, kNow);
  FUZZ_EXPECT(table[0].TodayTime >= 0.125 && !files.Exists(records.CheckpointPath()));
  const std::string recovered = files.content[records.Path()];
  FUZZ_EXPECT(recovered.starts_with(csv));
  const std::string appended = recovered.substr(csv.size());
  // What the checkpoint held is appended whole lines that read back as they are.
  Lines again = Read(appended, appended.size());
  FUZZ_EXPECT(again.back() == "0 bad");
  again.pop_back();
  std::string joined;
  for (const std::string& line : again)
    joined += line;
  FUZZ_EXPECT(joined == appended);

  // Sessions.csv, which did not exist, took every session of the checkpoint (those
  // TimeCount.CSV held already too), each a line that reads back.
  const std::string fuller = files.content[records.SessionsPath()];
  size_t fuller_lines = 0;
  SessionLineReader fuller_reader([&fuller_lines](const SessionLine&) { ++fuller_lines; });
  fuller_reader.Feed(fuller);
  fuller_reader.Finish();
  FUZZ_EXPECT(fuller_lines == Read(checkpoint, checkpoint.size() + 1).size() - 1 &&
              fuller_reader.BadLineCount() == 0);

  // A start that dies again before the checkpoint goes must not record the session twice.
  files.content[records.CheckpointPath()] = checkpoint;
  records.RecoverCheckpoint();
  FUZZ_EXPECT(files.content[records.Path()] == recovered);
  FUZZ_EXPECT(files.content[records.SessionsPath()] == fuller);
  return 0;
}
