// TPing over a fake network: what goes out, which replies count, and the library's answers.
#include "dialup/ping.h"

#include <gtest/gtest.h>

#include <vector>

#include "dialup/ping_packet.h"
#include "fakes/fake_app_ports.h"
#include "fakes/fake_clock.h"

namespace {

struct Answer {
  uint32_t status, ip, roundtime;
  bool operator==(const Answer&) const = default;
};

// The reply a host sends to `request`: an IPv4 header from 127.0.0.1, then the echo as
// type 0 with its checksum made again.
std::vector<uint8_t> ReplyTo(std::vector<uint8_t> request) {
  request[0] = 0;
  request[2] = request[3] = 0;
  const uint16_t checksum = InternetChecksum(request);
  request[2] = static_cast<uint8_t>(checksum >> 8);
  request[3] = static_cast<uint8_t>(checksum);
  std::vector<uint8_t> datagram = {0x45, 0, 0,   0, 0, 0, 0,   0, 64, 1,
                                   0,    0, 127, 0, 0, 1, 127, 0, 0,  1};
  datagram.insert(datagram.end(), request.begin(), request.end());
  return datagram;
}

TEST(Ping, RawRepliesCountOnlyWhenTheyAnswerThisPinger) {
  FakeNetwork network;
  FakeClock clock;
  TPing ping(network, clock), other(network, clock);
  std::vector<Answer> answers;
  ping.OnPing = [&](TPing&, uint32_t status, uint32_t ip, uint32_t roundtime) {
    answers.push_back({status, ip, roundtime});
  };
  ping.Hostname = "127.0.0.1";
  ping.Ping();
  ASSERT_EQ(network.sent.size(), 1u);
  EXPECT_EQ(network.sent[0].address, 0x7F000001u);
  const std::vector<uint8_t> request = network.sent[0].message;
  EXPECT_EQ(request.size(), 76u);

  auto receive = network.on_datagram;
  clock.Advance(7);
  receive(ReplyTo(request));
  EXPECT_EQ(answers, (std::vector<Answer>{{0, 0x7F000001, 7}}));

  // The other pinger's reply carries its identifier, not ours.
  other.Hostname = "127.0.0.1";
  network.on_datagram = nullptr;
  other.Ping();
  receive(ReplyTo(network.sent.back().message));
  EXPECT_EQ(answers.size(), 1u);
}

TEST(Ping, LibraryAnswersArriveThroughOnPingAndNoneAfterThePingerIsGone) {
  FakeNetwork network;
  network.mode = IcmpMode::Library;
  FakeClock clock;
  std::vector<Answer> answers;
  {
    TPing ping(network, clock);
    ping.OnPing = [&](TPing&, uint32_t status, uint32_t ip, uint32_t roundtime) {
      answers.push_back({status, ip, roundtime});
    };
    ping.Hostname = "no such host";
    ping.Ping();
    ASSERT_EQ(network.sent.size(), 1u);
    EXPECT_EQ(network.sent[0].address, 0xFFFFFFFFu);  // unresolved: the all-ones address
    network.pending[0]({11010, 0xFFFFFFFF, 0});
    ping.Ping();
  }
  network.pending[1]({0, 0x7F000001, 1});
  EXPECT_EQ(answers, (std::vector<Answer>{{11010, 0xFFFFFFFF, 0}}));

  network.mode = IcmpMode::None;
  TPing none(network, clock);
  EXPECT_THROW(none.Ping(), EICMPError);
}

}  // namespace
