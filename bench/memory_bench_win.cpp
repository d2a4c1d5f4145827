// Benchmark: the memory the program holds once its main window has settled, as the system
// counts it (private bytes and working set), with a bare window of a plain program beside
// it for reference. The program runs from a folder of its own with a one-entry phonebook.
// Run: tools/wine-run build/windows/bin/memory_bench.exe [settle_seconds]
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/dial_request.h"
#include "program_folder_win.h"

namespace {

constexpr const char* kBareClass = "TarvolinBenchBareWindow";

int RunBareWindow() {
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = DefWindowProcA;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  window_class.lpszClassName = kBareClass;
  RegisterClassA(&window_class);
  CreateWindowA(kBareClass, "Bare", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                500, 380, nullptr, nullptr, window_class.hInstance, nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0)
    DispatchMessageA(&msg);
  return 0;
}

// Starts `program` with `args` in `dir`, waits until it shows a window of `window_class`
// and `settle_ms` more have passed, prints what the process holds, and ends it.
bool Measure(const char* name, const std::string& program, const char* args, const std::string& dir,
             const char* window_class, DWORD settle_ms) {
  PROCESS_INFORMATION info{};
  if (!StartProgram(program, args, dir, info))
    return false;
  bool shown = false;
  for (int i = 0; i < 600 && !shown; ++i) {
    HWND window = FindWindowA(window_class, nullptr);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    shown = window && owner == info.dwProcessId && IsWindowVisible(window);
    if (!shown)
      Sleep(50);
  }
  PROCESS_MEMORY_COUNTERS counters{};
  if (shown) {
    Sleep(settle_ms);
    GetProcessMemoryInfo(info.hProcess, &counters, sizeof counters);
    // The commit charge, which Windows also gives as PrivateUsage; Wine fills only this
    // one, with the process's anonymous memory.
    std::printf("%s: private %zu KiB, working set %zu KiB\n", name, counters.PagefileUsage / 1024,
                counters.WorkingSetSize / 1024);
  } else {
    std::fprintf(stderr, "%s showed no window\n", name);
  }
  TerminateProcess(info.hProcess, 0);
  WaitForSingleObject(info.hProcess, 5000);
  CloseHandle(info.hProcess);
  return shown;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "bare")
    return RunBareWindow();
  const DWORD settle_ms = (argc > 1 ? std::atoi(argv[1]) : 3) * 1000;

  const std::string dir = ProgramFolder("tarvolin-memory-bench", "[Bench]\nPhoneNumber=555-0100\n");
  if (dir.empty())
    return 1;
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);

  const bool measured =
      Measure("tarvolin.exe", dir + "tarvolin.exe", "", dir, kMainWindowClass, settle_ms) &&
      Measure("bare window", self, "bare", dir, kBareClass, settle_ms);
  return measured ? 0 : 1;
}
