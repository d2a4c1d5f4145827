// The RAS substitute's dials: each outcome's steps and notifications, hang-up, the end of
// a line, and a connected line's addresses and figures.
#include <algorithm>
#include <cstring>
#include <mutex>
#include <tuple>
#include <vector>

#include "rassim/records.h"
#include "rassim_fixture.h"

namespace rassim_test {
namespace {

using RassimDialTest = RassimTest;

const Steps kConnectSteps = {{0, 0}, {1, 0}, {2, 0},  {3, 0},
                             {4, 0}, {5, 0}, {14, 0}, {rassim::kConnected, 0}};

rassim::RasDialParams ParamsFor(const std::string& entry) {
  rassim::RasDialParams params{};
  params.dwSize = sizeof(rassim::RasDialParams);
  rassim::Put(params.szEntryName, entry);
  return params;
}

uint32_t Dial(const std::string& entry, rassim::Handle& handle, bool async = true) {
  rassim::RasDialParams params = ParamsFor(entry);
  void* notifier = async ? reinterpret_cast<void*>(&Recorder::Notify) : nullptr;
  return rassim::RasDialA(nullptr, nullptr, &params, 0, notifier, &handle);
}

using Status = std::tuple<uint32_t, uint32_t, uint32_t>;  // result, state, error

Status StatusOf(rassim::Handle handle) {
  rassim::RasConnStatus status{};
  status.dwSize = sizeof(rassim::RasConnStatus);
  const uint32_t result = rassim::RasGetConnectStatusA(handle, &status);
  return {result, status.rasconnstate, status.dwError};
}

bool Gone(rassim::Handle handle) {
  return std::get<0>(StatusOf(handle)) == rassim::kInvalidHandle;
}

uint32_t Projection(rassim::Handle handle, rassim::RasPppIp& ip) {
  ip = rassim::RasPppIp{};
  ip.dwSize = sizeof(rassim::RasPppIp);
  uint32_t cb = sizeof ip;
  return rassim::RasGetProjectionInfoA(handle, rassim::kProjectionPppIp, &ip, &cb);
}

uint32_t Statistics(rassim::Handle handle, rassim::RasStats& stats) {
  std::memset(&stats, 0xee, sizeof stats);
  stats.dwSize = sizeof(rassim::RasStats);
  return rassim::RasGetConnectionStatistics(handle, &stats);
}

TEST_F(RassimDialTest, AsyncDialWalksEveryStepOnItsOwnThread) {
  WritePhonebook(
      "[Net]\nStepDelayMs=0\nDevice=My Modem\nDeviceType=isdn\nServerIP=127.5.5.1\n"
      "ClientIP=127.5.5.2\nLinkSpeed=33600\nSendBps=1000\nRecvBps=3000\n");
  rassim::Handle handle = nullptr;
  ASSERT_EQ(Dial("net", handle), rassim::kSuccess);
  ASSERT_NE(handle, nullptr);
  ASSERT_TRUE(Recorder::WaitFor(rassim::kConnected, 0));
  EXPECT_EQ(Recorder::StepsSoFar(), kConnectSteps);
  for (const Notification& n : Recorder::All()) {
    EXPECT_EQ(n.msg, rassim::kWmRasDialEvent);
    EXPECT_NE(n.thread, std::this_thread::get_id());
  }

  rassim::RasConnStatus status{};
  status.dwSize = sizeof(rassim::RasConnStatus);
  ASSERT_EQ(rassim::RasGetConnectStatusA(handle, &status), rassim::kSuccess);
  EXPECT_EQ(std::tuple(status.rasconnstate, status.dwError, std::string(status.szDeviceName),
                       std::string(status.szDeviceType)),
            std::tuple(rassim::kConnected, 0u, std::string("My Modem"), std::string("isdn")));

  rassim::RasPppIp ip;
  ASSERT_EQ(Projection(handle, ip), rassim::kSuccess);
  EXPECT_EQ(ip.dwError, 0u);
  EXPECT_STREQ(ip.szIpAddress, "127.5.5.2");
  EXPECT_STREQ(ip.szServerIpAddress, "127.5.5.1");

  rassim::RasStats stats;
  ASSERT_EQ(Statistics(handle, stats), rassim::kSuccess);
  EXPECT_EQ(stats.dwBps, 33600u);
  EXPECT_EQ(stats.dwBytesXmited, 1000ull * stats.dwConnectDuration / 1000);
  EXPECT_EQ(stats.dwBytesRcved, 3000ull * stats.dwConnectDuration / 1000);
  EXPECT_EQ(stats.dwFramesXmited, stats.dwBytesXmited / 1500);

  EXPECT_EQ(rassim::RasHangUpA(handle), rassim::kSuccess);
  EXPECT_TRUE(Eventually([&] { return Gone(handle); }));
  EXPECT_EQ(rassim::RasHangUpA(handle), rassim::kInvalidHandle);
  EXPECT_EQ(Projection(handle, ip), rassim::kInvalidHandle);
  EXPECT_EQ(Statistics(handle, stats), rassim::kInvalidHandle);
  rassim::Handle next = nullptr;
  ASSERT_EQ(Dial("Net", next), rassim::kSuccess);
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
  for (const Case& c :
       {Case{"Busy", rassim::kConnectDevice, rassim::kLineBusy},
        Case{"NoAnswer", rassim::kConnectDevice, rassim::kNoAnswer},
        Case{"BadAccount", rassim::kAuthenticate, rassim::kAuthenticationFailure}}) {
    SCOPED_TRACE(c.entry);
    Recorder::Reset();
    rassim::Handle handle = nullptr;
    ASSERT_EQ(Dial(c.entry, handle), rassim::kSuccess);
    ASSERT_TRUE(Recorder::WaitFor(c.state, c.error));
    EXPECT_EQ(StatusOf(handle), (Status{rassim::kSuccess, c.state, c.error}));
    EXPECT_EQ(rassim::RasHangUpA(handle), rassim::kSuccess);
    EXPECT_TRUE(Eventually([&] { return Gone(handle); }));
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
  Recorder::Reset(rassim::kPortOpened);
  rassim::Handle handle = nullptr;
  ASSERT_EQ(Dial("Quick", handle), rassim::kSuccess);
  ASSERT_TRUE(Recorder::WaitUntilHeld());
  EXPECT_EQ(StatusOf(handle), (Status{rassim::kSuccess, rassim::kPortOpened, 0}));
  rassim::RasPppIp ip;
  EXPECT_EQ(Projection(handle, ip), rassim::kProjectionNotComplete);
  rassim::RasStats stats;
  EXPECT_EQ(Statistics(handle, stats), rassim::kSuccess);
  EXPECT_EQ(stats.dwBytesXmited, 0u);
  EXPECT_EQ(stats.dwBps, 0u);
  EXPECT_EQ(rassim::RasHangUpA(handle), rassim::kSuccess);
  EXPECT_TRUE(Eventually([&] { return Gone(handle); }));
  EXPECT_TRUE(Recorder::Held());  // all answered while the notifier blocked
  Recorder::Release();
  ASSERT_TRUE(Recorder::WaitFor(rassim::kPortOpened, rassim::kUserDisconnection));
  rassim::Shutdown();
  EXPECT_EQ(Recorder::StepsSoFar(), (Steps{{0, 0}, {1, 0}, {1, rassim::kUserDisconnection}}));

  // A worker waiting out a long step wakes for the hang-up.
  Recorder::Reset();
  ASSERT_EQ(Dial("Slow", handle), rassim::kSuccess);
  ASSERT_TRUE(Recorder::WaitFor(rassim::kOpenPort, 0));
  EXPECT_EQ(rassim::RasHangUpA(handle), rassim::kSuccess);
  ASSERT_TRUE(Recorder::WaitFor(rassim::kOpenPort, rassim::kUserDisconnection));
  rassim::Shutdown();
  EXPECT_EQ(Recorder::StepsSoFar(), (Steps{{0, 0}, {0, rassim::kUserDisconnection}}));
}

TEST_F(RassimDialTest, VanishedAndRefusedDialsSayNothing) {
  WritePhonebook(
      "[Vanish]\nStepDelayMs=0\nOutcome=vanish\n[Refuse]\nOutcome=refuse\n"
      "[Refuse692]\nOutcome=refuse\nRefuseCode=692\n");
  rassim::Handle handle = nullptr;
  ASSERT_EQ(Dial("Vanish", handle), rassim::kSuccess);
  EXPECT_TRUE(Eventually([&] { return Gone(handle); }));
  EXPECT_EQ(rassim::RasHangUpA(handle), rassim::kInvalidHandle);
  rassim::Shutdown();
  EXPECT_EQ(Recorder::StepsSoFar(), (Steps{{0, 0}, {1, 0}, {2, 0}}));

  Recorder::Reset();
  EXPECT_EQ(Dial("Refuse", handle), rassim::kPortNotAvailable);
  EXPECT_EQ(handle, nullptr);
  EXPECT_EQ(Dial("Refuse692", handle), rassim::kHardwareFailure);
  rassim::Shutdown();
  EXPECT_TRUE(Recorder::All().empty());
}

TEST_F(RassimDialTest, BlockingDialReturnsTheOutcome) {
  WritePhonebook(
      "[Net]\nStepDelayMs=0\n[Busy]\nStepDelayMs=0\nOutcome=busy\n"
      "[Vanish]\nStepDelayMs=0\nOutcome=vanish\n");
  rassim::Handle handle = nullptr;
  EXPECT_EQ(Dial("Net", handle, false), rassim::kSuccess);
  EXPECT_EQ(StatusOf(handle), (Status{rassim::kSuccess, rassim::kConnected, 0}));
  EXPECT_EQ(Dial("Busy", handle, false), rassim::kLineBusy);
  EXPECT_EQ(StatusOf(handle),
            (Status{rassim::kSuccess, rassim::kConnectDevice, rassim::kLineBusy}));
  EXPECT_EQ(Dial("Vanish", handle, false), rassim::kPortDisconnected);
  EXPECT_TRUE(Gone(handle));
  EXPECT_EQ(Dial("Missing", handle, false), rassim::kCannotFindEntry);
  EXPECT_EQ(handle, nullptr);

  rassim::RasDialParams params = ParamsFor("Net");
  params.dwSize = 1056;  // between two levels
  EXPECT_EQ(rassim::RasDialA(nullptr, nullptr, &params, 0, nullptr, &handle), rassim::kInvalidSize);
  params.dwSize = sizeof(rassim::RasDialParams);
  void* notifier = reinterpret_cast<void*>(&Recorder::Notify);
  EXPECT_EQ(rassim::RasDialA(nullptr, nullptr, &params, 1, notifier, &handle),
            rassim::kInvalidParameter);
  EXPECT_TRUE(Recorder::All().empty());
}

TEST_F(RassimDialTest, LinesDropByThemselvesByTheControlFileOrByDrop) {
  WritePhonebook("[Short]\nStepDelayMs=0\nDropAfter=1\n[A]\nStepDelayMs=0\n[B]\nStepDelayMs=0\n");
  rassim::Handle short_line = nullptr;
  rassim::Handle a = nullptr;
  rassim::Handle b = nullptr;
  ASSERT_EQ(Dial("Short", short_line), rassim::kSuccess);
  ASSERT_EQ(Dial("A", a, false), rassim::kSuccess);
  ASSERT_EQ(Dial("B", b, false), rassim::kSuccess);
  EXPECT_TRUE(Eventually([&] { return Gone(short_line); }));

  const fs::path control = dir_ / "rassim.ctl";
  WriteFile(control, "nonsense\r\n  DROP   a  \r\n");
  EXPECT_TRUE(Eventually([&] { return Gone(a) && !fs::exists(control); }));
  EXPECT_EQ(StatusOf(b), (Status{rassim::kSuccess, rassim::kConnected, 0}));
  WriteFile(control, "drop *\n");
  EXPECT_TRUE(Eventually([&] { return Gone(b); }));

  // In-process, at once.
  ASSERT_EQ(Dial("A", a, false), rassim::kSuccess);
  ASSERT_EQ(Dial("B", b, false), rassim::kSuccess);
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
  rassim::Handle a = nullptr;
  rassim::Handle b = nullptr;
  ASSERT_EQ(Dial("A", a, false), rassim::kSuccess);
  ASSERT_EQ(Dial("B", b, false), rassim::kSuccess);
  int first = 0, second = 0, third = 0;
  EXPECT_EQ(rassim::RasConnectionNotificationA(a, &first, rassim::kNotifyDisconnection),
            rassim::kSuccess);
  EXPECT_EQ(rassim::RasConnectionNotificationA(a, &second, rassim::kNotifyDisconnection),
            rassim::kSuccess);
  EXPECT_EQ(rassim::RasConnectionNotificationA(b, &third, rassim::kNotifyDisconnection),
            rassim::kSuccess);
  EXPECT_EQ(rassim::RasConnectionNotificationA(b, &first, 1), rassim::kInvalidParameter);
  EXPECT_EQ(rassim::RasConnectionNotificationA(b, nullptr, rassim::kNotifyDisconnection),
            rassim::kInvalidParameter);

  rassim::Drop("a");
  EXPECT_EQ(g_set_events, (std::vector<void*>{&first, &second}));
  EXPECT_EQ(rassim::RasConnectionNotificationA(a, &first, rassim::kNotifyDisconnection),
            rassim::kInvalidHandle);
  EXPECT_EQ(rassim::RasHangUpA(b), rassim::kSuccess);
  rassim::Shutdown();
  EXPECT_EQ(g_set_events, (std::vector<void*>{&first, &second, &third}));
  rassim::SetEventSetter(nullptr);
}

TEST_F(RassimDialTest, ConnectionsAreListedToEveryProcessThroughFilesBesideThePhonebook) {
  WritePhonebook("[Net]\nStepDelayMs=0\nDevice=Fax Modem\n[Slow]\nStepDelayMs=60000\n");
  uint32_t cb = 0, count = 0;
  EXPECT_EQ(rassim::RasEnumConnectionsA(nullptr, &cb, &count), rassim::kSuccess);
  EXPECT_EQ(count, 0u);

  rassim::Handle net = nullptr, slow = nullptr;
  ASSERT_EQ(Dial("Net", net, false), rassim::kSuccess);
  ASSERT_EQ(Dial("Slow", slow), rassim::kSuccess);
  // Another process's connected line.
  WriteFile(dir_ / "rassim-line-1-4096", "Net");
  EXPECT_EQ(rassim::RasEnumConnectionsA(nullptr, &cb, &count), rassim::kBufferTooSmall);
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(cb, 3 * sizeof(rassim::RasConn));
  std::vector<rassim::RasConn> rows(3);
  rows[0].dwSize = sizeof(rassim::RasConn) - 8;
  EXPECT_EQ(rassim::RasEnumConnectionsA(rows.data(), &cb, &count), rassim::kInvalidSize);
  rows[0].dwSize = sizeof(rassim::RasConn);
  ASSERT_EQ(rassim::RasEnumConnectionsA(rows.data(), &cb, &count), rassim::kSuccess);
  std::vector<std::string> names;
  for (const rassim::RasConn& row : rows)
    names.push_back(rassim::Text(row.szEntryName));
  EXPECT_EQ(names, (std::vector<std::string>{"Net", "Slow", "Net"}));
  EXPECT_EQ(rassim::Handle{rows[0].hrasconn}, net);
  EXPECT_EQ(rassim::Text(rows[2].szDeviceName), "Fax Modem");
  EXPECT_EQ(reinterpret_cast<uintptr_t>(rows[2].hrasconn), (uintptr_t{1} << 32) | 4096);
  EXPECT_EQ(StatusOf(rows[2].hrasconn), (Status{rassim::kSuccess, rassim::kConnected, 0}));
  EXPECT_EQ(std::get<1>(StatusOf(slow)), rassim::kOpenPort);

  // Our own connected line has its file while it lasts; the other's vanishes with it.
  const auto own_files = [&] {
    int files = 0;
    for (const auto& file : fs::directory_iterator(dir_))
      files += file.path().filename().string().starts_with("rassim-line-");
    return files - static_cast<int>(fs::exists(dir_ / "rassim-line-1-4096"));
  };
  EXPECT_EQ(own_files(), 1);
  rassim::RasHangUpA(net);
  EXPECT_TRUE(Eventually([&] { return own_files() == 0; }));
  fs::remove(dir_ / "rassim-line-1-4096");
  EXPECT_TRUE(Gone(rows[2].hrasconn));
}

TEST_F(RassimDialTest, AHangUpCompletesInTheBackgroundAndADropCanLingerAsDisconnected) {
  rassim::SetEventSetter(RecordSetEvent);
  g_set_events.clear();
  WritePhonebook(
      "[Modem]\nStepDelayMs=0\nHangUpDelayMs=60000\n"
      "[Lingers]\nStepDelayMs=0\nHangUpDelayMs=0\nDropLingerMs=60000\n");
  rassim::Handle modem = nullptr;
  ASSERT_EQ(Dial("Modem", modem, false), rassim::kSuccess);
  int modem_event = 0;
  ASSERT_EQ(rassim::RasConnectionNotificationA(modem, &modem_event, rassim::kNotifyDisconnection),
            rassim::kSuccess);
  EXPECT_EQ(rassim::RasHangUpA(modem), rassim::kSuccess);
  // RAS still knows the handle, as disconnected, and has not yet said the line ended.
  EXPECT_EQ(StatusOf(modem), (Status{rassim::kSuccess, rassim::kDisconnected, 0}));
  EXPECT_EQ(rassim::RasHangUpA(modem), rassim::kSuccess);
  EXPECT_TRUE(g_set_events.empty());

  rassim::Handle lingers = nullptr;
  ASSERT_EQ(Dial("Lingers", lingers, false), rassim::kSuccess);
  int lingers_event = 0;
  ASSERT_EQ(
      rassim::RasConnectionNotificationA(lingers, &lingers_event, rassim::kNotifyDisconnection),
      rassim::kSuccess);
  rassim::Drop("Lingers");
  EXPECT_EQ(StatusOf(lingers),
            (Status{rassim::kSuccess, rassim::kDisconnected, rassim::kPortDisconnected}));
  EXPECT_EQ(g_set_events, std::vector<void*>{&lingers_event});
  // Hanging the dropped line up lets RAS forget it.
  EXPECT_EQ(rassim::RasHangUpA(lingers), rassim::kSuccess);
  EXPECT_TRUE(Gone(lingers));

  rassim::Shutdown();
  EXPECT_TRUE(Gone(modem));
  EXPECT_EQ(g_set_events, (std::vector<void*>{&lingers_event, &modem_event}));
  rassim::SetEventSetter(nullptr);
}

TEST_F(RassimDialTest, ARefusalMayHoldAHandleUntilItIsHungUp) {
  WritePhonebook("[Held]\nOutcome=refuse\nRefuseCode=692\nRefuseWithHandle=1\nHangUpDelayMs=0\n");
  rassim::Handle handle = nullptr;
  EXPECT_EQ(Dial("Held", handle), rassim::kHardwareFailure);
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(StatusOf(handle),
            (Status{rassim::kSuccess, rassim::kOpenPort, rassim::kHardwareFailure}));
  EXPECT_EQ(rassim::RasHangUpA(handle), rassim::kSuccess);
  EXPECT_TRUE(Gone(handle));
  EXPECT_TRUE(Recorder::All().empty());
}

// Writes the record of `size` bytes into a buffer of guard bytes: nothing may land past it.
template <typename Record, typename Call>
uint32_t AtSize(uint32_t size, Record& record, Call call) {
  std::vector<unsigned char> buffer(sizeof(Record) + 64, 0xEE);
  std::memcpy(buffer.data(), &size, sizeof size);
  const uint32_t result = call(buffer.data());
  EXPECT_TRUE(std::all_of(buffer.begin() + size, buffer.end(), [](auto b) { return b == 0xEE; }))
      << "written past " << size;
  std::memcpy(&record, buffer.data(), sizeof record);
  return result;
}

TEST_F(RassimDialTest, EachCallTakesEveryLevelOfItsRecordAndNoOtherSize) {
  // Windows' sizes on x64, 4-byte packed: the first is always the 4.00 level.
  if constexpr (sizeof(void*) == 8) {
    static_assert(rassim::kEntryNameSizes == std::array{264u, 532u});
    static_assert(rassim::kDialParamsSizes == std::array{1052u, 1064u, 1068u});
    static_assert(rassim::kConnSizes == std::array{416u, 680u, 696u, 708u});
    static_assert(rassim::kConnStatusSizes == std::array{160u, 288u});
    static_assert(rassim::kPppIpSizes == std::array{24u, 40u, 48u});
  }
  WritePhonebook(
      "[Net]\nStepDelayMs=0\nPhoneNumber=555\nUserName=ann\nServerIP=127.4.4.1\nClientIP=127.4.4."
      "2\n");
  rassim::Handle handle = nullptr;
  ASSERT_EQ(Dial("Net", handle, false), rassim::kSuccess);

  for (uint32_t size : rassim::kEntryNameSizes) {
    rassim::RasEntryName name;
    uint32_t cb = size, count = 0;
    EXPECT_EQ(AtSize(size, name,
                     [&](void* b) {
                       return rassim::RasEnumEntriesA(
                           nullptr, nullptr, static_cast<rassim::RasEntryName*>(b), &cb, &count);
                     }),
              rassim::kSuccess);
    EXPECT_EQ(std::tuple(rassim::Text(name.szEntryName), cb, count), std::tuple("Net", size, 1u));
  }
  for (uint32_t size : rassim::kDialParamsSizes) {
    rassim::RasDialParams params;
    int32_t stored = 0;
    EXPECT_EQ(AtSize(size, params,
                     [&](void* b) {
                       rassim::Put(static_cast<rassim::RasDialParams*>(b)->szEntryName, "Net");
                       return rassim::RasGetEntryDialParamsA(
                           nullptr, static_cast<rassim::RasDialParams*>(b), &stored);
                     }),
              rassim::kSuccess);
    EXPECT_EQ(rassim::Text(params.szUserName), "ann");
  }
  for (uint32_t size : rassim::kConnSizes) {
    rassim::RasConn conn;
    uint32_t cb = size, count = 0;
    EXPECT_EQ(AtSize(size, conn,
                     [&](void* b) {
                       return rassim::RasEnumConnectionsA(static_cast<rassim::RasConn*>(b), &cb,
                                                          &count);
                     }),
              rassim::kSuccess);
    EXPECT_EQ(std::tuple(rassim::Handle{conn.hrasconn}, rassim::Text(conn.szEntryName), count),
              std::tuple(handle, "Net", 1u));
  }
  for (uint32_t size : rassim::kConnStatusSizes) {
    rassim::RasConnStatus status;
    EXPECT_EQ(AtSize(size, status,
                     [&](void* b) {
                       return rassim::RasGetConnectStatusA(handle,
                                                           static_cast<rassim::RasConnStatus*>(b));
                     }),
              rassim::kSuccess);
    EXPECT_EQ(status.rasconnstate, rassim::kConnected);
  }
  for (uint32_t size : rassim::kPppIpSizes) {
    rassim::RasPppIp ip;
    uint32_t cb = size;
    EXPECT_EQ(AtSize(size, ip,
                     [&](void* b) {
                       return rassim::RasGetProjectionInfoA(handle, rassim::kProjectionPppIp, b,
                                                            &cb);
                     }),
              rassim::kSuccess);
    EXPECT_EQ(rassim::Text(ip.szIpAddress), "127.4.4.2");
  }

  // Any other size: 632. A natural-alignment record of the program's old making among them.
  for (uint32_t size : {uint32_t{sizeof(rassim::RasConn) + 4}, 412u, 424u}) {
    rassim::RasConn conn;
    uint32_t cb = 4096, count = 0;
    EXPECT_EQ(AtSize(size, conn,
                     [&](void* b) {
                       return rassim::RasEnumConnectionsA(static_cast<rassim::RasConn*>(b), &cb,
                                                          &count);
                     }),
              rassim::kInvalidSize);
  }
  rassim::RasConnStatus status{};
  status.dwSize = 164;
  EXPECT_EQ(rassim::RasGetConnectStatusA(handle, &status), rassim::kInvalidSize);
  rassim::RasPppIp ip{};
  ip.dwSize = 44;
  uint32_t cb = sizeof ip;
  EXPECT_EQ(rassim::RasGetProjectionInfoA(handle, rassim::kProjectionPppIp, &ip, &cb),
            rassim::kInvalidSize);
  // A buffer smaller than its record: 603 and the size needed.
  ip.dwSize = 40;
  cb = 24;
  EXPECT_EQ(rassim::RasGetProjectionInfoA(handle, rassim::kProjectionPppIp, &ip, &cb),
            rassim::kBufferTooSmall);
  EXPECT_EQ(cb, 40u);
}

}  // namespace
}  // namespace rassim_test
