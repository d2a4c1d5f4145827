// Benchmark: what the one-second accounting tick costs for a short and a long session, how
// long start-up takes to load large record files against reading them line by line, and
// how long the usage figures take to read from both record files and to sum up; both
// readings also with one line of Sessions.csv torn inside its quotes half-way through.
// Run:  build/native/accounting_bench ticks HOURS [TICKS]
//       build/native/accounting_bench load [LINES]
//       build/native/accounting_bench usage [SESSIONS]
// Instructions per tick (the goal: a 1000-hour session within 10% of a 1-hour one): run
//       valgrind --tool=callgrind --toggle-collect='*RunTicks*' PROGRAM ticks HOURS
// and divide the instructions it collected by the number of ticks.
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "accounting/accounting.h"
#include "accounting/sessions_file.h"
#include "accounting/time_records.h"
#include "accounting/usage.h"
#include "accounting/usage_model.h"
#include "platform/date_time.h"

namespace {

namespace fs = std::filesystem;

const double kNow = ToDateTime({2026, 12, 23, 15, 0, 0});
constexpr double kSecond = 1.0 / 86400;

RatePlan BusyPlan() {
  RatePlan plan;
  plan.GeneralRate = 1.2;
  plan.WeekendEnabled = true;
  plan.WeekendRate = 0.6;
  plan.Sections[0] = {true, 2.5, 8, 18};
  plan.Sections[1] = {true, 0.4, 22, 6};
  plan.Sections[2] = {true, 3.0, 12, 13};
  plan.BillingDay = 1;
  return plan;
}

TAccountTable Table(std::initializer_list<const char*> entries) {
  TAccountTable table;
  int row = 0;
  for (const char* entry : entries) {
    table[row].EntryName = entry;
    table[row++].InUse = true;
  }
  table[0].Selected = true;
  return table;
}

// The processor time this process spent, the system's share included: on a machine shared
// with other work it tells what the work costs, where the clock on the wall tells how busy
// the machine was.
double ProcessSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double Seconds(const std::function<void()>& work, int runs) {
  double best = 1e9;
  for (int i = 0; i < runs; ++i) {
    const double start = ProcessSeconds();
    work();
    best = std::min(best, ProcessSeconds() - start);
  }
  return best;
}

// A reading of a clock that was never set: the monotonic time follows the local one.
Moment At(double local) {
  return {local, static_cast<uint64_t>(local * 86400000)};
}

// The ticks alone, so that callgrind can count them apart from the set-up.
[[gnu::noinline]] void RunTicks(Accounting& accounting, TAccountTable& table, const RatePlan& plan,
                                int ticks) {
  const PlanOf plan_of = [&plan](const std::string&) { return plan; };
  for (int i = 1; i <= ticks; ++i) {
    accounting.AccountingTick(table, plan_of, At(kNow + i * kSecond));
  }
}

int Ticks(double hours, int ticks) {
  TAccountTable table = Table({"A"});
  const RatePlan plan = BusyPlan();
  Accounting accounting;
  accounting.Reset(At(kNow));
  accounting.RecordConnectTime("A", At(kNow - hours / 24));
  const double seconds = Seconds([&] { RunTicks(accounting, table, plan, ticks); }, 1);
  std::printf("session of %g hours: %d ticks, %.1f ns per tick (session expense %.2Lf)\n", hours,
              ticks, seconds * 1e9 / ticks, table[0].SessionExpense);
  return 0;
}

// The files port on a real folder.
class FolderFiles : public Files {
 public:
  explicit FolderFiles(fs::path folder) : folder_(std::move(folder)) {}
  std::string ExeDir() override { return folder_.string() + "/"; }
  std::string ExePath() override { return ExeDir() + "accounting_bench"; }
  bool Exists(const std::string& path) override { return fs::exists(path); }
  bool Remove(const std::string& path) override { return fs::remove(path); }
  bool Append(const std::string& path, const std::string& text, std::string&) override {
    std::ofstream file(path, std::ios::binary | std::ios::app);
    return static_cast<bool>(file << text);
  }
  bool ReadPieces(const std::string& path, const Piece& piece, std::string& error) override {
    error.clear();
    std::ifstream file(path, std::ios::binary);
    std::vector<char> buffer(256 * 1024);
    while (file.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) ||
           file.gcount() > 0) {
      piece(std::string_view(buffer.data(), static_cast<std::size_t>(file.gcount())));
    }
    return file.eof();
  }
  bool ReplaceWhole(const std::string& path, const std::string& text, std::string&) override {
    std::ofstream(path + ".new", std::ios::binary) << text;
    fs::rename(path + ".new", path);
    return true;
  }

 private:
  fs::path folder_;
};

class DotLocale : public Locale {
 public:
  std::string LongTime(double) override { return ""; }
  std::string ShortDate(double) override { return ""; }
  char DecimalSeparator() override { return '.'; }
  std::string ListSeparator() override { return ","; }
  std::string AnsiToUtf8(const std::string& text) override { return text; }
};

// Sessions of three entries over the last 60 days, in the order a user makes them.
void WriteSessions(const std::string& path, int lines) {
  std::string text;
  const char* entries[] = {"Home Provider", "Work dial-in", "Backup"};
  for (int i = 0; i < lines; ++i) {
    const double start = kNow - 60 + 60.0 * i / lines;
    const double duration = (i % 97 + 1) * 37 * kSecond;
    text += FormatTimeRecord({start, duration, duration * 24 * 1.2, entries[i % 7 % 3]}, '.');
  }
  std::ofstream(path, std::ios::binary) << text;
}

// A new folder of its own under the temporary one; empty when none could be made.
fs::path TempFolder() {
  std::string pattern = (fs::temp_directory_path() / "accounting_bench_XXXXXX").string();
  if (!mkdtemp(pattern.data())) {
    std::perror("mkdtemp");
    return {};
  }
  return pattern;
}

// Both record files with the same sessions over the last 60 days, as a user who has had
// Sessions.csv all along leaves them.
void WriteBoth(TimeRecords& records, Files& files, int sessions) {
  WriteSessions(records.Path(), sessions);
  std::string fuller = kSessionsFileStart;
  TimeRecordReader reader([&fuller](const TimeRecordView& view) {
    TimeRecord record{view.start, view.duration, view.Expense(), std::string(view.entry)};
    record.received = static_cast<uint64_t>(view.duration * 86400 * 4000);
    record.sent = record.received / 8;
    record.budget_bytes = record.received / 2;
    record.reason = "hung up by the user";
    fuller += FormatSessionLine(record, record.entry);
  });
  std::string error;
  files.ReadPieces(
      records.Path(), [&reader](std::string_view piece) { reader.Feed(piece); }, error);
  reader.Finish();
  std::ofstream(records.SessionsPath(), std::ios::binary) << fuller;
}

// Sessions.csv with a line half-way through torn inside its quoted connection by a power
// cut: the next session's line goes on right after it.
void TearSessions(TimeRecords& records) {
  std::ifstream in(records.SessionsPath(), std::ios::binary);
  std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  TimeRecord record{kNow - 30, kSecond * 600, 1, "Home, Provider"};
  const std::string line = FormatSessionLine(record, record.entry);
  const size_t middle = text.find('\n', text.size() / 2) + 1;
  text.insert(middle, line.substr(0, line.find("Home, ") + 4));
  std::ofstream(records.SessionsPath(), std::ios::binary) << text;
}

// Reads both files line by line and does nothing else.
double Bare(TimeRecords& records) {
  return Seconds(
      [&] {
        for (const std::string& path : {records.SessionsPath(), records.Path()}) {
          std::ifstream file(path, std::ios::binary);
          for (std::string line; std::getline(file, line);) {
          }
        }
      },
      5);
}

int Load(int lines) {
  const fs::path folder = TempFolder();
  if (folder.empty())
    return 1;
  FolderFiles files(folder);
  DotLocale locale;
  TimeRecords records(files, locale);
  WriteBoth(records, files, lines);
  std::printf("%d sessions, %ju + %ju bytes\n", lines,
              static_cast<uintmax_t>(fs::file_size(records.SessionsPath())),
              static_cast<uintmax_t>(fs::file_size(records.Path())));
  const double bare = Bare(records);
  std::printf("reading both files line by line: %.1f ms\n", bare * 1e3);
  for (const char* state : {"clean", "one line torn"}) {
    TAccountTable table;
    const double loading = Seconds(
        [&] {
          table = Table({"Home Provider", "Work dial-in", "Backup"});
          records.LoadTimeRecords(
              table, [](const std::string&) { return BusyPlan(); }, kNow);
        },
        5);
    std::printf("LoadTimeRecords, %s: %.1f ms (%.2f times; goal: about 2)\n", state, loading * 1e3,
                loading / bare);
    std::printf("  since billing day: %s, %.2Lf, %.1f MB of the budget\n",
                FormatDuration(table[0].BillingTime).c_str(), table[0].BillingExpense,
                table[0].BudgetBytes / 1e6);
    TearSessions(records);
  }
  fs::remove_all(folder);
  return 0;
}

int Usage(int sessions) {
  const fs::path folder = TempFolder();
  if (folder.empty())
    return 1;
  FolderFiles files(folder);
  DotLocale locale;
  TimeRecords records(files, locale);
  WriteBoth(records, files, sessions);
  const UsageFiles paths{records.SessionsPath(), records.Path(),
                         fs::file_size(records.SessionsPath())};
  std::printf("%d sessions, %ju + %ju bytes\n", sessions,
              static_cast<uintmax_t>(fs::file_size(records.SessionsPath())),
              static_cast<uintmax_t>(fs::file_size(records.Path())));
  const double bare = Bare(records);
  std::printf("reading both files line by line: %.1f ms\n", bare * 1e3);
  std::string error;
  UsageHistory read;
  const double reading = Seconds([&] { ReadUsage(files, locale, paths, nullptr, read, error); }, 5);
  std::printf("ReadUsage:                       %.1f ms (%.2f times; goal: about 2)\n",
              reading * 1e3, reading / bare);
  std::vector<UsageBar> days;
  const double summing = Seconds(
      [&] {
        const CalendarTime today = FromDateTime(kNow);
        days = UsageBars(read.sessions, "", UsageSpan::kDaysOfMonth, today.year, today.month);
      },
      5);
  std::printf("UsageBars, this month by day:    %.1f ms\n", summing * 1e3);
  // What the Usage window does before its first chart: read, then this month's figures.
  // Each run's model is kept, so that freeing it is not counted: a window opens once.
  std::vector<UsageModel> opened;
  size_t rows = 0;
  const double opening = Seconds(
      [&] {
        UsageHistory history;
        ReadUsage(files, locale, paths, nullptr, history, error);
        UsageModel& model =
            opened.emplace_back(std::vector<UsageConnection>{}, kNow, SpreadsheetForm{",", '.'});
        model.SetSessions(std::move(history));
        rows = model.Charts()[UsageModel::kTimeChart].values.size() + model.FigureRows().size() +
               model.DropRows().size();
      },
      5);
  std::printf("the Usage window's first figures: %.1f ms (%zu rows)\n", opening * 1e3, rows);
  TearSessions(records);
  const double torn = Seconds([&] { ReadUsage(files, locale, paths, nullptr, read, error); }, 5);
  std::printf("ReadUsage, one line torn:        %.1f ms (%zu sessions)\n", torn * 1e3,
              read.sessions.size());
  fs::remove_all(folder);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "ticks" && argc > 2) {
    return Ticks(std::atof(argv[2]), argc > 3 ? std::atoi(argv[3]) : 1000);
  }
  if (mode == "load") {
    return Load(argc > 2 ? std::atoi(argv[2]) : 1000000);
  }
  if (mode == "usage") {
    return Usage(argc > 2 ? std::atoi(argv[2]) : 100000);
  }
  std::fprintf(stderr,
               "usage: accounting_bench ticks HOURS [TICKS] | load [LINES] | usage [SESSIONS]\n");
  return 2;
}
