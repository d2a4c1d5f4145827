// The RAS substitute's dials: each outcome's steps and notifications, hang-up, the end of
// a line, and a connected line's addresses and figures.
#include <algorithm>
#include <cstring>
#include <mutex>
#include <tuple>
#include <vector>

#include "dialup/ras_fields.h"
#include "rassim/codes.h"
#include "rassim_fixture.h"

namespace rassim_test {
namespace {

using RassimDialTest = RassimTest;

const Steps kConnectSteps = {{0, 0}, {1, 0}, {2, 0},  {3, 0},
                             {4, 0}, {5, 0}, {14, 0}, {kRasConnected, 0}};

TRasDialParams ParamsFor(const std::string& entry) {
  TRasDialParams params{};
  params.dwSize = kRasDialParamsSize;
  CopyField(params.szEntryName, entry);
  return params;
}

uint32_t Dial(const std::string& entry, RasHandle& handle, bool async = true) {
  TRasDialParams params = ParamsFor(entry);
  void* notifier = async ? reinterpret_cast<void*>(&Recorder::Notify) : nullptr;
  return rassim::RasDialA(nullptr, nullptr, &params, 0, notifier, &handle);
}

using Status = std::tuple<uint32_t, uint32_t, uint32_t>;  // result, state, error

Status StatusOf(RasHandle handle) {
  TRasConnStatusA status{};
  status.dwSize = kRasConnStatusSize;
  const uint32_t result = rassim::RasGetConnectStatusA(handle, &status);
  return {result, status.rasconnstate, status.dwError};
}

bool Gone(RasHandle handle) {
  return std::get<0>(StatusOf(handle)) == kRasInvalidHandle;
}

uint32_t Projection(RasHandle handle, TRasPppIp& ip) {
  ip = TRasPppIp{};
  ip.dwSize = kRasPppIpSize;
  uint32_t cb = sizeof ip;
  return rassim::RasGetProjectionInfoA(handle, kRasProjectionPppIp, &ip, &cb);
}

uint32_t Statistics(RasHandle handle, TRasStats& stats) {
  std::memset(&stats, 0xee, sizeof stats);
  stats.dwSize = kRasStatsSize;
  return rassim::RasGetConnectionStatistics(handle, &stats);
}

TEST_F(RassimDialTest, AsyncDialWalksEveryStepOnItsOwnThread) {
  WritePhonebook(
      "[Net]\nStepDelayMs=0\nDevice=My Modem\nDeviceType=isdn\nServerIP=127.5.5.1\n"
      "ClientIP=127.5.5.2\nLinkSpeed=33600\nSendBps=1000\nRecvBps=3000\n");
  RasHandle handle = nullptr;
  ASSERT_EQ(Dial("net", handle), kRasSuccess);
  ASSERT_NE(handle, nullptr);
  ASSERT_TRUE(Recorder::WaitFor(kRasConnected, 0));
  EXPECT_EQ(Recorder::StepsSoFar(), kConnectSteps);
  for (const Notification& n : Recorder::All()) {
    EXPECT_EQ(n.msg, kWmRasDialEvent);
    EXPECT_NE(n.thread, std::this_thread::get_id());
  }

  TRasConnStatusA status{};
  status.dwSize = kRasConnStatusSize;
  ASSERT_EQ(rassim::RasGetConnectStatusA(handle, &status), kRasSuccess);
  EXPECT_EQ(std::tuple(status.rasconnstate, status.dwError, std::string(status.szDeviceName),
                       std::string(status.szDeviceType)),
            std::tuple(kRasConnected, 0u, std::string("My Modem"), std::string("isdn")));

  TRasPppIp ip;
  ASSERT_EQ(Projection(handle, ip), kRasSuccess);
  EXPECT_EQ(ip.dwError, 0u);
  EXPECT_STREQ(ip.szIpAddress, "127.5.5.2");
  EXPECT_STREQ(ip.szServerIpAddress, "127.5.5.1");

  TRasStats stats;
  ASSERT_EQ(Statistics(handle, stats), kRasSuccess);
  EXPECT_EQ(stats.dwBps, 33600u);
  EXPECT_EQ(stats.dwBytesXmited, 1000ull * stats.dwConnectDuration / 1000);
  EXPECT_EQ(stats.dwBytesRcved, 3000ull * stats.dwConnectDuration / 1000);
  EXPECT_EQ(stats.dwFramesXmited, stats.dwBytesXmited / 1500);

  EXPECT_EQ(rassim::RasHangUpA(handle), kRasSuccess);
  EXPECT_TRUE(Gone(handle));
  EXPECT_EQ(rassim::RasHangUpA(handle), kRasInvalidHandle);
  EXPECT_EQ(Projection(handle, ip), kRasInvalidHandle);
  EXPECT_EQ(Statistics(handle, stats), kRasInvalidHandle);
  RasHandle next = nullptr;
  ASSERT_EQ(Dial("Net", next), kRasSuccess);
  EXPECT_NE(next, handle);
  EXPECT_TRUE(Gone(handle));  // handles are never reused
}

TEST_F(RassimDialTest, FailedDialsEndWithTheirError) {
  WritePhonebook(
      "[Busy]\nStepDelayMs=0\nOutcome=busy\n[NoAnswer]\nStepDelayMs=0\nOutcome=noanswer\n"
      "[BadAccount]\nStepDelayMs=0\nOutcome=BadAccount\n");
  struct Case {
    const char* entry;
    uint32_t state;
    uint32_t error;
  };
  for (const Case& c : {Case{"Busy", kRasConnectDevice, kRasLineBusy},
                        Case{"NoAnswer", kRasConnectDevice, kRasNoAnswer},
                        Case{"BadAccount", kRasAuthenticate, kRasAuthenticationFailure}}) {
    SCOPED_TRACE(c.entry);
    Recorder::Reset();
    RasHandle handle = nullptr;
    ASSERT_EQ(Dial(c.entry, handle), kRasSuccess);
    ASSERT_TRUE(Recorder::WaitFor(c.state, c.error));
    EXPECT_EQ(StatusOf(handle), (Status{kRasSuccess, c.state, c.error}));
    EXPECT_EQ(rassim::RasHangUpA(handle), kRasSuccess);
    EXPECT_TRUE(Gone(handle));
    rassim::Shutdown();  // no notification can follow

    const auto stop = std::ranges::find(kConnectSteps, std::pair<uint32_t, uint32_t>{c.state, 0});
    Steps expected(kConnectSteps.begin(), stop + 1);
    expected.emplace_back(c.state, c.error);
    EXPECT_EQ(Recorder::StepsSoFar(), expected);
  }
}

TEST_F(RassimDialTest, HangUpDuringTheDialEndsItWithOne631) {
  WritePhonebook("[Quick]\nStepDelayMs=0\n[Slow]\nStepDelayMs=60000\n");
  // The notifier blocks in "port opened", as the program's hand-over may; the engine
  // must keep answering meanwhile.
  Recorder::Reset(kRasPortOpened);
  RasHandle handle = nullptr;
  ASSERT_EQ(Dial("Quick", handle), kRasSuccess);
  ASSERT_TRUE(Recorder::WaitUntilHeld());
  EXPECT_EQ(StatusOf(handle), (Status{kRasSuccess, kRasPortOpened, 0}));
  TRasPppIp ip;
  EXPECT_EQ(Projection(handle, ip), rassim::kProjectionNotComplete);
  TRasStats stats;
  EXPECT_EQ(Statistics(handle, stats), kRasSuccess);
  EXPECT_EQ(stats.dwBytesXmited, 0u);
  EXPECT_EQ(stats.dwBps, 0u);
  EXPECT_EQ(rassim::RasHangUpA(handle), kRasSuccess);
  EXPECT_TRUE(Gone(handle));
  EXPECT_TRUE(Recorder::Held());  // all answered while the notifier blocked
  Recorder::Release();
  ASSERT_TRUE(Recorder::WaitFor(kRasPortOpened, kRasUserDisconnection));
  rassim::Shutdown();
  EXPECT_EQ(Recorder::StepsSoFar(), (Steps{{0, 0}, {1, 0}, {1, kRasUserDisconnection}}));

  // A worker waiting out a long step wakes for the hang-up.
  Recorder::Reset();
  ASSERT_EQ(Dial("Slow", handle), kRasSuccess);
  ASSERT_TRUE(Recorder::WaitFor(kRasOpenPort, 0));
  EXPECT_EQ(rassim::RasHangUpA(handle), kRasSuccess);
  ASSERT_TRUE(Recorder::WaitFor(kRasOpenPort, kRasUserDisconnection));
  rassim::Shutdown();
  EXPECT_EQ(Recorder::StepsSoFar(), (Steps{{0, 0}, {0, kRasUserDisconnection}}));
}

TEST_F(RassimDialTest, VanishedAndRefusedDialsSayNothing) {
  WritePhonebook(
      "[Vanish]\nStepDelayMs=0\nOutcome=vanish\n[Refuse]\nOutcome=refuse\n"
      "[Refuse692]\nOutcome=refuse\nRefuseCode=692\n");
  RasHandle handle = nullptr;
  ASSERT_EQ(Dial("Vanish", handle), kRasSuccess);
  EXPECT_TRUE(Eventually([&] { return Gone(handle); }));
  EXPECT_EQ(rassim::RasHangUpA(handle), kRasInvalidHandle);
  rassim::Shutdown();
  EXPECT_EQ(Recorder::StepsSoFar(), (Steps{{0, 0}, {1, 0}, {2, 0}}));

  Recorder::Reset();
  EXPECT_EQ(Dial("Refuse", handle), kRasPortNotAvailable);
  EXPECT_EQ(handle, nullptr);
  EXPECT_EQ(Dial("Refuse692", handle), rassim::kHardwareFailure);
  rassim::Shutdown();
  EXPECT_TRUE(Recorder::All().empty());
}

TEST_F(RassimDialTest, BlockingDialReturnsTheOutcome) {
  WritePhonebook(
      "[Net]\nStepDelayMs=0\n[Busy]\nStepDelayMs=0\nOutcome=busy\n"
      "[Vanish]\nStepDelayMs=0\nOutcome=vanish\n");
  RasHandle handle = nullptr;
  EXPECT_EQ(Dial("Net", handle, false), kRasSuccess);
  EXPECT_EQ(StatusOf(handle), (Status{kRasSuccess, kRasConnected, 0}));
  EXPECT_EQ(Dial("Busy", handle, false), kRasLineBusy);
  EXPECT_EQ(StatusOf(handle), (Status{kRasSuccess, kRasConnectDevice, kRasLineBusy}));
  EXPECT_EQ(Dial("Vanish", handle, false), rassim::kPortDisconnected);
  EXPECT_TRUE(Gone(handle));
  EXPECT_EQ(Dial("Missing", handle, false), kRasCannotFindEntry);
  EXPECT_EQ(handle, nullptr);

  TRasDialParams params = ParamsFor("Net");
  params.dwSize = kRasDialParamsSize - 4;
  EXPECT_EQ(rassim::RasDialA(nullptr, nullptr, &params, 0, nullptr, &handle), kRasInvalidSize);
  params.dwSize = kRasDialParamsSize;
  void* notifier = reinterpret_cast<void*>(&Recorder::Notify);
  EXPECT_EQ(rassim::RasDialA(nullptr, nullptr, &params, 1, notifier, &handle),
            rassim::kInvalidParameter);
  EXPECT_TRUE(Recorder::All().empty());
}

TEST_F(RassimDialTest, LinesDropByThemselvesByTheControlFileOrByDrop) {
  WritePhonebook("[Short]\nStepDelayMs=0\nDropAfter=1\n[A]\nStepDelayMs=0\n[B]\nStepDelayMs=0\n");
  RasHandle short_line = nullptr;
  RasHandle a = nullptr;
  RasHandle b = nullptr;
  ASSERT_EQ(Dial("Short", short_line), kRasSuccess);
  ASSERT_EQ(Dial("A", a, false), kRasSuccess);
  ASSERT_EQ(Dial("B", b, false), kRasSuccess);
  EXPECT_TRUE(Eventually([&] { return Gone(short_line); }));

  const fs::path control = dir_ / "rassim.ctl";
  WriteFile(control, "nonsense\r\n  DROP   a  \r\n");
  EXPECT_TRUE(Eventually([&] { return Gone(a) && !fs::exists(control); }));
  EXPECT_EQ(StatusOf(b), (Status{kRasSuccess, kRasConnected, 0}));
  WriteFile(control, "drop *\n");
  EXPECT_TRUE(Eventually([&] { return Gone(b); }));

  // In-process, at once.
  ASSERT_EQ(Dial("A", a, false), kRasSuccess);
  ASSERT_EQ(Dial("B", b, false), kRasSuccess);
  rassim::Drop("b");
  EXPECT_TRUE(Gone(b));
  EXPECT_FALSE(Gone(a));
  rassim::Drop("*");
  EXPECT_TRUE(Gone(a));

  rassim::Shutdown();
  EXPECT_EQ(Recorder::StepsSoFar(), kConnectSteps);  // a dropped line sends nothing
}

std::mutex g_set_mutex;
std::vector<void*> g_set_events;

void RecordSetEvent(void* event) {
  std::lock_guard lock(g_set_mutex);
  g_set_events.push_back(event);
}

TEST_F(RassimDialTest, DisconnectionEventsAreSetOnceWhenTheirLineEnds) {
  rassim::SetEventSetter(RecordSetEvent);
  WritePhonebook("[A]\nStepDelayMs=0\n[B]\nStepDelayMs=0\n");
  RasHandle a = nullptr;
  RasHandle b = nullptr;
  ASSERT_EQ(Dial("A", a, false), kRasSuccess);
  ASSERT_EQ(Dial("B", b, false), kRasSuccess);
  int first = 0, second = 0, third = 0;
  EXPECT_EQ(rassim::RasConnectionNotificationA(a, &first, kRasNotifyDisconnection), kRasSuccess);
  EXPECT_EQ(rassim::RasConnectionNotificationA(a, &second, kRasNotifyDisconnection), kRasSuccess);
  EXPECT_EQ(rassim::RasConnectionNotificationA(b, &third, kRasNotifyDisconnection), kRasSuccess);
  EXPECT_EQ(rassim::RasConnectionNotificationA(b, &first, 1), rassim::kInvalidParameter);
  EXPECT_EQ(rassim::RasConnectionNotificationA(b, nullptr, kRasNotifyDisconnection),
            rassim::kInvalidParameter);

  rassim::Drop("a");
  EXPECT_EQ(g_set_events, (std::vector<void*>{&first, &second}));
  EXPECT_EQ(rassim::RasConnectionNotificationA(a, &first, kRasNotifyDisconnection),
            kRasInvalidHandle);
  EXPECT_EQ(rassim::RasHangUpA(b), kRasSuccess);
  rassim::Shutdown();
  EXPECT_EQ(g_set_events, (std::vector<void*>{&first, &second, &third}));
  rassim::SetEventSetter(nullptr);
}

TEST_F(RassimDialTest, ConnectionsAreListedToEveryProcessThroughFilesBesideThePhonebook) {
  WritePhonebook("[Net]\nStepDelayMs=0\nDevice=Fax Modem\n[Slow]\nStepDelayMs=60000\n");
  uint32_t cb = 0, count = 0;
  EXPECT_EQ(rassim::RasEnumConnectionsA(nullptr, &cb, &count), kRasSuccess);
  EXPECT_EQ(count, 0u);

  RasHandle net = nullptr, slow = nullptr;
  ASSERT_EQ(Dial("Net", net, false), kRasSuccess);
  ASSERT_EQ(Dial("Slow", slow), kRasSuccess);
  // Another process's connected line.
  WriteFile(dir_ / "rassim-line-1-4096", "Net");
  EXPECT_EQ(rassim::RasEnumConnectionsA(nullptr, &cb, &count), kRasBufferTooSmall);
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(cb, 3 * kRasConnSize);
  std::vector<TRasConn> rows(3);
  rows[0].dwSize = kRasConnSize - 8;
  EXPECT_EQ(rassim::RasEnumConnectionsA(rows.data(), &cb, &count), kRasInvalidSize);
  rows[0].dwSize = kRasConnSize;
  ASSERT_EQ(rassim::RasEnumConnectionsA(rows.data(), &cb, &count), kRasSuccess);
  std::vector<std::string> names;
  for (const TRasConn& row : rows)
    names.push_back(FieldText(row.szEntryName));
  EXPECT_EQ(names, (std::vector<std::string>{"Net", "Slow", "Net"}));
  EXPECT_EQ(rows[0].hrasconn, net);
  EXPECT_EQ(FieldText(rows[2].szDeviceName), "Fax Modem");
  EXPECT_EQ(reinterpret_cast<uintptr_t>(rows[2].hrasconn), (uintptr_t{1} << 32) | 4096);
  EXPECT_EQ(StatusOf(rows[2].hrasconn), (Status{kRasSuccess, kRasConnected, 0}));
  EXPECT_EQ(std::get<1>(StatusOf(slow)), kRasOpenPort);

  // Our own connected line has its file while it lasts; the other's vanishes with it.
  const auto own_files = [&] {
    int files = 0;
    for (const auto& file : fs::directory_iterator(dir_))
      files += file.path().filename().string().starts_with("rassim-line-");
    return files - static_cast<int>(fs::exists(dir_ / "rassim-line-1-4096"));
  };
  EXPECT_EQ(own_files(), 1);
  rassim::RasHangUpA(net);
  EXPECT_EQ(own_files(), 0);
  fs::remove(dir_ / "rassim-line-1-4096");
  EXPECT_TRUE(Gone(rows[2].hrasconn));
}

}  // namespace
}  // namespace rassim_test
