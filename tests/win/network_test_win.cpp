// The network adapter against Wine's real sockets and ICMP library: echoes to the loopback.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "dialup/ping.h"
#include "driver.h"
#include "loopback_win.h"
#include "platform/win_ports.h"

namespace {

class Network : public ::testing::Test {
 protected:
  // Pumps this thread's messages until `done` holds or the time is up.
  bool Pump(const std::function<bool()>& done) {
    return WaitUntil([&] {
      ui_->ProcessMessages();
      return done();
    });
  }

  std::unique_ptr<UiLoop> ui_ = MakeWinUiLoop();
  std::unique_ptr<Clock> clock_ = MakeWinClock();
  std::unique_ptr<::Network> network_ = MakeWinNetwork();
};

TEST_F(Network, AnEchoToTheLoopbackComesBackThroughOnPing) {
  ASSERT_EQ(network_->Mode(), IcmpMode::Raw) << "raw ICMP sockets need the tests to run as root";
  TPing ping(*network_, *clock_);
  std::optional<uint32_t> replied_from;
  ping.OnPing = [&](TPing&, uint32_t status, uint32_t ip, uint32_t) {
    if (status == 0)
      replied_from = ip;
  };
  ping.Hostname = "127.0.0.1";
  ping.Ping();
  ASSERT_TRUE(Pump([&] { return replied_from.has_value(); }));
  EXPECT_EQ(*replied_from, 0x7F000001u);
}

TEST_F(Network, TheIcmpLibraryAnswersOffTheUiThreadAndReportsOnIt) {
  const DWORD ui_thread = GetCurrentThreadId();
  std::optional<IcmpEchoResult> answer;
  DWORD answered_on = 0;
  network_->LibraryEcho(network_->Resolve("127.0.0.1"), 32, 64, 5000,
                        [&](const IcmpEchoResult& result) {
                          answer = result;
                          answered_on = GetCurrentThreadId();
                        });
  ASSERT_TRUE(Pump([&] { return answer.has_value(); }));
  EXPECT_EQ(answer->status, 0u);
  EXPECT_EQ(answer->address, 0x7F000001u);
  EXPECT_EQ(answered_on, ui_thread);
}

// A web server of the test that takes connections on 127.0.0.1 and never says a word.
class SilentServer {
 public:
  SilentServer() {
    unsigned short port = 0;
    listener_ = ListenOnLoopback(port);
    host_ = "127.0.0.1:" + std::to_string(port);
  }
  ~SilentServer() {
    closesocket(listener_);
    WSACleanup();
  }
  const std::string& Host() const { return host_; }

 private:
  SOCKET listener_;
  std::string host_;
};

int g_ticks = 0;
::Network* g_cancel = nullptr;

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  ++g_ticks;
  if (g_cancel)
    g_cancel->CancelHttpGet();
}

TEST_F(Network, AGetFromAServerThatNeverAnswersEndsByItsLimitOrACancelAndMessagesFlowMeanwhile) {
  SilentServer server;
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, Tick);
  g_ticks = 0;
  EXPECT_EQ(network_->HttpGet(server.Host(), "/en/tvnen.xml", 1000), std::nullopt);
  EXPECT_GT(g_ticks, 0);

  // Cancelled from a message handled while it waits: it ends long before its limit.
  g_cancel = network_.get();
  const ULONGLONG started = GetTickCount64();
  EXPECT_EQ(network_->HttpGet(server.Host(), "/en/tvnen.xml", 120000), std::nullopt);
  EXPECT_LT(GetTickCount64() - started, 60000u);
  g_cancel = nullptr;
  KillTimer(nullptr, timer);
}

}  // namespace
