// Benchmark: how long a dial notification takes from the RAS thread's callback to
// OnAsyncEvent on the UI thread, through the real window timers and message loop.
// Run: tools/wine-run build/windows/bin/handover_bench.exe [count]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "percentile.h"
#include "dialup/dialup.h"
#include "platform/win_ports.h"

namespace {

int g_count = 5000;
std::vector<LONGLONG> g_sent;  // QueryPerformanceCounter at each callback's start
std::thread g_ras_thread;

LONGLONG Now() {
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return counter.QuadPart;
}

// A RAS whose dial fires `g_count` progress notifications as fast as it may.
uint32_t RAS_CALL FakeGetEntryDialParams(const char*, TRasDialParams*, int32_t* stored) {
  *stored = 0;
  return 0;
}
uint32_t RAS_CALL FakeHangUp(RasHandle) {
  return kRasInvalidHandle;
}
uint32_t RAS_CALL FakeDial(void*, const char*, TRasDialParams*, uint32_t, void* notifier,
                           RasHandle* handle) {
  *handle = reinterpret_cast<RasHandle>(1);
  g_ras_thread = std::thread([notifier] {
    auto notify = reinterpret_cast<RasDialFunc>(notifier);
    for (int i = 0; i < g_count; ++i) {
      g_sent[i] = Now();
      notify(kWmRasDialEvent, kRasOpenPort, 0);
    }
  });
  return 0;
}

class BenchLoader : public LibraryLoader {
 public:
  Library Load(const std::string&) override { return this; }
  void* Find(Library, const std::string& symbol) override {
    if (symbol == "RasGetEntryDialParamsA")
      return reinterpret_cast<void*>(FakeGetEntryDialParams);
    if (symbol == "RasDialA")
      return reinterpret_cast<void*>(FakeDial);
    if (symbol == "RasHangUpA")
      return reinterpret_cast<void*>(FakeHangUp);
    return nullptr;
  }
  void Free(Library) override {}
};

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1)
    g_count = std::max(1, std::atoi(argv[1]));
  g_sent.assign(g_count, 0);
  std::vector<double> latency_ms;
  latency_ms.reserve(g_count);
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);

  BenchLoader loader;
  RasApi ras(loader);
  auto ui = MakeWinUiLoop();
  auto clock = MakeWinClock();
  TDialUp dialup(ras, *ui, *clock);
  dialup.Entry = "Bench";
  dialup.OnAsyncEvent = [&](TDialUp&, int, int, const std::string&) {
    const LONGLONG arrived = Now();
    latency_ms.push_back(1000.0 * (arrived - g_sent[latency_ms.size()]) / frequency.QuadPart);
    if (static_cast<int>(latency_ms.size()) == g_count)
      PostQuitMessage(0);
  };
  dialup.Dial();

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  g_ras_thread.join();
  std::printf("notifications: %d\nmedian: %.3f ms\np99: %.3f ms\nmax: %.3f ms\n", g_count,
              Percentile(latency_ms, 0.5), Percentile(latency_ms, 0.99),
              Percentile(latency_ms, 1.0));
  return 0;
}
