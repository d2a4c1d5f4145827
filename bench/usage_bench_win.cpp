// Benchmark: how long the Usage window takes to open with a large history, beside the
// time to read the same record files bare. The program runs from a folder of its own
// whose Sessions.csv and TimeCount.CSV hold SESSIONS sessions over the last two years;
// the bench reads them as the window does, then opens the window from the main menu's
// command three times, and each time waits for the window and then for its figures (the
// status line empties once the reading is done and the charts and tables are filled).
// Run: tools/wine-run build/windows/bin/usage_bench.exe [SESSIONS]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "accounting/sessions_file.h"
#include "accounting/time_records.h"
#include "accounting/usage.h"
#include "commands/command_ids.h"
#include "platform/date_time.h"
#include "platform/dial_request.h"
#include "platform/win_ports.h"
#include "program_folder_win.h"
#include "ui/usage_ids.h"

namespace {

double Now() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Both files as a user who has had Sessions.csv all along leaves them.
void WriteRecords(const std::string& dir, int sessions) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  const double today = ToDateTime({now.wYear, now.wMonth, now.wDay});
  const char* entries[] = {"Home Provider", "Work dial-in", "Backup"};
  std::string fuller = kSessionsFileStart, older;
  for (int i = 0; i < sessions; ++i) {
    TimeRecord r{today - 730 + 730.0 * i / sessions, (i % 97 + 1) * 37 / 86400.0, 0.5,
                 entries[i % 7 % 3]};
    r.start_offset = r.end_offset = 60;
    r.received = static_cast<uint64_t>(r.duration * 86400 * 4000);
    r.sent = r.received / 8;
    r.reason = i % 50 ? "hung up by the user" : "dropped by the line";
    fuller += FormatSessionLine(r, r.entry);
    older += FormatTimeRecord(r, '.');
  }
  std::ofstream(dir + "Sessions.csv", std::ios::binary) << fuller;
  std::ofstream(dir + "TimeCount.CSV", std::ios::binary) << older;
}

// What the window's reading thread does, here in this process.
double ReadAsTheWindowDoes(const std::string& dir) {
  const auto files = MakeWinFiles();
  const auto locale = MakeWinLocale();
  UsageHistory history;
  std::string error;
  const double start = Now();
  const std::string sessions = dir + "Sessions.csv";
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExA(sessions.c_str(), GetFileExInfoStandard, &data);
  ReadUsage(*files, *locale, {sessions, dir + "TimeCount.CSV", data.nFileSizeLow}, nullptr, history,
            error);
  return Now() - start;
}

double ReadBare(const std::string& dir) {
  const double start = Now();
  for (const char* name : {"Sessions.csv", "TimeCount.CSV"}) {
    std::ifstream file(dir + name, std::ios::binary);
    for (std::string line; std::getline(file, line);) {
    }
  }
  return Now() - start;
}

HWND WaitForWindow(const char* window_class, const char* title, DWORD process) {
  for (int i = 0; i < 20000; ++i) {
    HWND window = FindWindowA(window_class, title);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (window && owner == process && IsWindowVisible(window))
      return window;
    Sleep(1);
  }
  return nullptr;
}

std::string StatusOf(HWND usage) {
  char text[256] = {};
  GetWindowTextA(GetDlgItem(usage, IDC_USAGESTATUS), text, sizeof text);
  return text;
}

// Opens the window from the main menu's command and closes it again; false when it did
// not open or read in time.
bool OpenOnce(HWND main, DWORD process) {
  const double start = Now();
  PostMessageA(main, WM_COMMAND, IDM_USAGE1, 0);
  HWND usage = WaitForWindow("#32770", "Usage", process);
  if (!usage)
    return false;
  const double shown = Now();
  int waited = 0;
  while (!StatusOf(usage).empty() && ++waited < 20000)
    Sleep(1);
  const double filled = Now();
  std::printf("window shown after %.0f ms, its figures after %.0f ms\n", (shown - start) * 1e3,
              (filled - start) * 1e3);
  PostMessageA(usage, WM_COMMAND, IDCANCEL, 0);
  for (int i = 0; i < 5000 && IsWindow(usage); ++i)
    Sleep(1);
  return waited < 20000;
}

}  // namespace

int main(int argc, char** argv) {
  const int sessions = argc > 1 ? std::atoi(argv[1]) : 100000;
  const std::string dir =
      ProgramFolder("tarvolin-usage-bench", "[Home Provider]\n[Work dial-in]\n[Backup]\n");
  if (dir.empty())
    return 1;
  WriteRecords(dir, sessions);
  std::printf(
      "%d sessions; both files read bare, line by line: %.0f ms; as the window reads "
      "them: %.0f ms\n",
      sessions, ReadBare(dir) * 1e3, ReadAsTheWindowDoes(dir) * 1e3);

  PROCESS_INFORMATION info{};
  if (!StartProgram(dir + "tarvolin.exe", "", dir, info))
    return 1;
  HWND main = WaitForWindow(kMainWindowClass, nullptr, info.dwProcessId);
  bool measured = main != nullptr;
  Sleep(1000);  // let start-up settle
  for (int run = 0; run < 3 && measured; ++run)
    measured = OpenOnce(main, info.dwProcessId);
  if (!measured)
    std::fprintf(stderr, "the Usage window did not open and read in time\n");
  TerminateProcess(info.hProcess, 0);
  WaitForSingleObject(info.hProcess, 5000);
  CloseHandle(info.hProcess);
  return measured ? 0 : 1;
}
