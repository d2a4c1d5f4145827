// The RAS substitute's lines belong to the machine: another process lists them, reads
// them, hangs them up and is told of their end, and they outlive the process that dialed
// them. The other process is a real one, tests/rassim_peer.
#include <set>
#include <thread>

#include "rassim/line_store.h"
#include "rassim_fixture.h"
#include "rassim_peer_process.h"

namespace rassim_test {
namespace {

const rassim::Handle kAllLines = reinterpret_cast<rassim::Handle>(UINTPTR_MAX);

constexpr const char* kPhonebook =
    "[Net]\nStepDelayMs=0\nHangUpDelayMs=0\nDevice=Fax Modem\nLinkSpeed=33600\n"
    "SendBps=800\nRecvBps=5000\nServerIP=127.0.7.1\nClientIP=127.0.7.20\n"
    "[Slow]\nStepDelayMs=0\nHangUpDelayMs=2000\n"
    "[Short]\nStepDelayMs=0\nDropAfter=2\n";

std::string Id(rassim::Handle handle) {
  return std::to_string(reinterpret_cast<uintptr_t>(handle));
}

// The events the engine has set, in order.
std::mutex g_mutex;
std::vector<void*> g_set;

void RecordSet(void* event) {
  std::lock_guard lock(g_mutex);
  g_set.push_back(event);
}

size_t TimesSet(const void* event) {
  std::lock_guard lock(g_mutex);
  return std::ranges::count(g_set, event);
}

class RassimSharedLinesTest : public RassimTest {
 protected:
  void SetUp() override {
    RassimTest::SetUp();
    WritePhonebook(kPhonebook);
    g_set.clear();
    rassim::SetEventSetter(RecordSet);
  }
  void TearDown() override {
    RassimTest::TearDown();
    rassim::SetEventSetter(nullptr);
  }
};

std::vector<std::pair<rassim::Handle, std::string>> Listed() {
  std::vector<rassim::RasConn> rows(8);
  rows[0].dwSize = sizeof(rassim::RasConn);
  uint32_t cb = static_cast<uint32_t>(rows.size() * sizeof(rassim::RasConn)), count = 0;
  EXPECT_EQ(rassim::RasEnumConnectionsA(rows.data(), &cb, &count), rassim::kSuccess);
  std::vector<std::pair<rassim::Handle, std::string>> listed;
  for (uint32_t i = 0; i < count; ++i)
    listed.emplace_back(rassim::Handle{rows[i].hrasconn}, rassim::Text(rows[i].szEntryName));
  return listed;
}

TEST_F(RassimSharedLinesTest, ALineOfAnotherProcessIsListedAndReadAsOurOwn) {
  PeerProcess peer(path_);
  const rassim::Handle theirs = peer.Dial("Net");
  ASSERT_NE(theirs, nullptr);
  rassim::Handle ours = nullptr;
  ASSERT_EQ(Dial("Net", ours, false), rassim::kSuccess);
  EXPECT_GT(reinterpret_cast<uintptr_t>(ours), reinterpret_cast<uintptr_t>(theirs));

  using Rows = std::vector<std::pair<rassim::Handle, std::string>>;
  EXPECT_EQ(Listed(), (Rows{{theirs, "Net"}, {ours, "Net"}}));
  EXPECT_EQ(peer.Ask("list"), "0 " + Id(theirs) + ":Net " + Id(ours) + ":Net");
  EXPECT_EQ(StatusOf(theirs), (Status{rassim::kSuccess, rassim::kConnected, 0}));
  EXPECT_EQ(peer.Ask("status", ours), "0 8192 0");

  rassim::RasPppIp ip;
  ASSERT_EQ(Projection(theirs, ip), rassim::kSuccess);
  EXPECT_EQ(rassim::Text(ip.szIpAddress), "127.0.7.20");
  EXPECT_EQ(rassim::Text(ip.szServerIpAddress), "127.0.7.1");

  // The figures come from the line's connect time and rates, whoever asks.
  rassim::RasStats stats;
  ASSERT_TRUE(
      Eventually([&] { return Statistics(theirs, stats) == 0 && stats.dwConnectDuration > 0; }));
  EXPECT_EQ(stats.dwBytesXmited, 800 * stats.dwConnectDuration / 1000);
  EXPECT_EQ(stats.dwBytesRcved, 5000 * stats.dwConnectDuration / 1000);
  EXPECT_EQ(stats.dwBps, 33600u);
  ASSERT_TRUE(rassim::Move("Net", 3000, 1500));
  std::istringstream seen(peer.Ask("stats", ours));
  uint32_t result = 1, sent = 0, received = 0, bps = 0, duration = 0;
  seen >> result >> sent >> received >> bps >> duration;
  EXPECT_EQ(result, rassim::kSuccess);
  EXPECT_EQ(sent, 800 * duration / 1000 + 1500);
  EXPECT_EQ(received, 5000 * duration / 1000 + 3000);
}

TEST_F(RassimSharedLinesTest, AHangUpFromEitherProcessEndsTheLineForBoth) {
  PeerProcess peer(path_);
  const rassim::Handle theirs = peer.Dial("Net");
  ASSERT_NE(theirs, nullptr);
  EXPECT_EQ(rassim::RasHangUpA(theirs), rassim::kSuccess);
  EXPECT_TRUE(Gone(theirs));
  EXPECT_EQ(peer.Ask("status", theirs), "6 0 0");
  EXPECT_EQ(peer.Ask("hangup", theirs), "6");

  // The other side's hang-up takes the entry's delay, seen alike from both sides.
  rassim::Handle ours = nullptr;
  ASSERT_EQ(Dial("Slow", ours, false), rassim::kSuccess);
  int ended = 0;
  ASSERT_EQ(rassim::RasConnectionNotificationA(ours, &ended, rassim::kNotifyDisconnection),
            rassim::kSuccess);
  EXPECT_EQ(peer.Ask("hangup", ours), "0");
  EXPECT_EQ(StatusOf(ours), (Status{rassim::kSuccess, rassim::kDisconnected, 0}));
  EXPECT_EQ(peer.Ask("status", ours), "0 8193 0");
  EXPECT_EQ(TimesSet(&ended), 0u);
  EXPECT_TRUE(Eventually([&] { return TimesSet(&ended) == 1; }));
  EXPECT_TRUE(Gone(ours));
  EXPECT_EQ(peer.Ask("status", ours), "6 0 0");
}

TEST_F(RassimSharedLinesTest, EveryProcessIsToldOfTheEndOfALineAndOfNewLines) {
  PeerProcess peer(path_);
  rassim::Handle ours = nullptr;
  ASSERT_EQ(Dial("Net", ours, false), rassim::kSuccess);
  EXPECT_EQ(peer.Ask("notify", ours), "0");
  rassim::Drop("Net");
  EXPECT_EQ(peer.Ask("wait"), "set");

  int connected = 0, ended = 0, theirs_ended = 0;
  ASSERT_EQ(rassim::RasConnectionNotificationA(kAllLines, &connected, rassim::kNotifyConnection),
            rassim::kSuccess);
  ASSERT_EQ(rassim::RasConnectionNotificationA(kAllLines, &ended, rassim::kNotifyDisconnection),
            rassim::kSuccess);
  const rassim::Handle theirs = peer.Dial("Net");
  ASSERT_NE(theirs, nullptr);
  EXPECT_TRUE(Eventually([&] { return TimesSet(&connected) == 1; }));
  ASSERT_EQ(rassim::RasConnectionNotificationA(theirs, &theirs_ended, rassim::kNotifyDisconnection),
            rassim::kSuccess);
  EXPECT_EQ(TimesSet(&ended), 0u);
  EXPECT_EQ(peer.Ask("hangup", theirs), "0");
  EXPECT_TRUE(Eventually([&] { return TimesSet(&theirs_ended) == 1 && TimesSet(&ended) == 1; }));

  // Only an end for one handle, and only known lines.
  int other = 0;
  EXPECT_EQ(rassim::RasConnectionNotificationA(theirs, &other, rassim::kNotifyDisconnection),
            rassim::kInvalidHandle);
  EXPECT_EQ(rassim::RasConnectionNotificationA(ours, &other, rassim::kNotifyConnection),
            rassim::kInvalidParameter);
  EXPECT_EQ(rassim::RasConnectionNotificationA(kAllLines, &other, 0), rassim::kInvalidParameter);
  EXPECT_EQ(rassim::RasConnectionNotificationA(kAllLines, &other, 4), rassim::kInvalidParameter);
}

TEST_F(RassimSharedLinesTest, ALineOutlivesTheProcessThatDialedIt) {
  rassim::Handle net = nullptr, slow = nullptr, short_line = nullptr;
  {
    PeerProcess peer(path_);
    net = peer.Dial("Net");
    slow = peer.Dial("Slow");
    short_line = peer.Dial("Short");
    peer.Kill();
  }
  ASSERT_NE(short_line, nullptr);
  EXPECT_EQ(Listed().size(), 3u);
  EXPECT_EQ(StatusOf(net), (Status{rassim::kSuccess, rassim::kConnected, 0}));
  rassim::RasStats before, after;
  ASSERT_EQ(Statistics(net, before), rassim::kSuccess);
  EXPECT_TRUE(Eventually([&] {
    return Statistics(net, after) == 0 && after.dwConnectDuration > before.dwConnectDuration;
  }));

  // It still drops after its time, ends by a hang-up, or by the control file.
  EXPECT_TRUE(Eventually([&] { return Gone(short_line); }));
  EXPECT_EQ(rassim::RasHangUpA(slow), rassim::kSuccess);
  EXPECT_EQ(StatusOf(slow), (Status{rassim::kSuccess, rassim::kDisconnected, 0}));
  EXPECT_TRUE(Eventually([&] { return Gone(slow); }));
  WriteFile(dir_ / "rassim.ctl", "drop net\n");
  EXPECT_TRUE(Gone(net));
  EXPECT_TRUE(Listed().empty());
}

TEST(RassimLineStateTest, ALinesStateFollowsTheMachinesClock) {
  rassim::LineRecord line;
  line.connected_at = 1000;
  line.drop_after_s = 2;
  line.drop_linger_ms = 500;
  line.hang_up_delay_ms = 300;
  using rassim::Phase;
  const auto phase = [&](uint64_t now) { return rassim::StateAt(line, now).phase; };
  EXPECT_EQ(phase(2999), Phase::kConnected);
  EXPECT_EQ(rassim::StateAt(line, 3000).reason, rassim::kPortDisconnected);
  EXPECT_EQ(phase(3499), Phase::kDropped);
  EXPECT_EQ(phase(3500), Phase::kGone);
  EXPECT_EQ(rassim::NextChange(line, 1000), 3000u);
  EXPECT_EQ(rassim::NextChange(line, 3000), 3500u);

  // A hang-up while the dropped line lingers ends it after the hang-up's own delay.
  line.hung_up_at = 3400;
  EXPECT_EQ(phase(3400), Phase::kHangingUp);
  EXPECT_EQ(phase(3699), Phase::kHangingUp);
  EXPECT_EQ(rassim::StateAt(line, 3700).phase, Phase::kGone);
  EXPECT_EQ(rassim::StateAt(line, 3700).reason, rassim::kUserDisconnection);
  // Hung up before its time, the line never drops.
  line.hung_up_at = 1500;
  EXPECT_EQ(phase(1799), Phase::kHangingUp);
  EXPECT_EQ(rassim::StateAt(line, 1800).reason, rassim::kUserDisconnection);
  // A drop by a command comes before DropAfter.
  line.hung_up_at.reset();
  line.dropped_at = 2000;
  EXPECT_EQ(rassim::DropTime(line), 2000u);
  EXPECT_EQ(phase(2000), Phase::kDropped);
}

TEST_F(RassimSharedLinesTest, HandlesAreNeverGivenTwice) {
  std::vector<std::vector<uint64_t>> taken(4);
  std::vector<std::thread> takers;
  for (auto& mine : taken) {
    takers.emplace_back([&mine] {
      for (int i = 0; i < 50; ++i)
        mine.push_back(rassim::NewHandle());
    });
  }
  for (std::thread& taker : takers)
    taker.join();
  std::set<uint64_t> all;
  for (const auto& mine : taken) {
    EXPECT_TRUE(std::ranges::is_sorted(mine));
    all.insert(mine.begin(), mine.end());
  }
  EXPECT_EQ(all.size(), 200u);
  EXPECT_EQ(*all.begin(), 0x1000u);

  // Without its counter, the machine goes on past every line it has.
  rassim::LineRecord line;
  line.handle = *all.rbegin() + 10;
  line.entry = "Net";
  ASSERT_TRUE(rassim::WriteLine(line));
  fs::remove_all(dir_ / "rassim-handles");
  EXPECT_EQ(rassim::NewHandle(), line.handle + 1);
}

}  // namespace
}  // namespace rassim_test
