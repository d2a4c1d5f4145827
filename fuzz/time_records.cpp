// TimeCount.CSV and its checkpoint as anyone may have left them: the lines read the same
// however the file comes in pieces, every record read writes back as a line that reads the
// same, a sound line after the damage still counts, and a checkpoint is recovered once,
// into TimeCount.CSV and Sessions.csv alike.
#include <fuzzer/FuzzedDataProvider.h>

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
