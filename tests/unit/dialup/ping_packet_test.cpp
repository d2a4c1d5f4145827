// The echo request's bytes and checksum, and which datagrams count as its reply.
#include "dialup/ping_packet.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// The reply a host makes of `request`: type 0, checksum made anew.
Bytes ReplyTo(Bytes request) {
  request[0] = 0;
  request[2] = request[3] = 0;
  const std::uint16_t checksum = InternetChecksum(request);
  request[2] = static_cast<std::uint8_t>(checksum >> 8);
  request[3] = static_cast<std::uint8_t>(checksum);
  return request;
}

// `icmp` in an IPv4 datagram from 127.0.0.1 to 127.0.0.2, with a header of `words`
// 32-bit words (beyond 5 they are options).
Bytes Datagram(const Bytes& icmp, std::uint8_t words = 5) {
  Bytes datagram(words * 4u);
  datagram[0] = static_cast<std::uint8_t>(0x40 | words);
  datagram[3] = static_cast<std::uint8_t>(datagram.size() + icmp.size());
  datagram[8] = 64;
  datagram[9] = 1;
  datagram[12] = datagram[16] = 127;
  datagram[15] = 1;
  datagram[19] = 2;
  datagram.insert(datagram.end(), icmp.begin(), icmp.end());
  return datagram;
}

Bytes Changed(Bytes bytes, std::size_t at, std::uint8_t value) {
  bytes[at] = value;
  return bytes;
}

TEST(InternetChecksum, SumsBigEndianWordsAndPadsAnOddByte) {
  // The worked example of RFC 1071: the words sum to 0xDDF2.
  EXPECT_EQ(0x220D, InternetChecksum(Bytes{0x00, 0x01, 0xF2, 0x03, 0xF4, 0xF5, 0xF6, 0xF7}));
  EXPECT_EQ(0xFEFF, InternetChecksum(Bytes{0x01}));
  EXPECT_EQ(0xFFFE, InternetChecksum(Bytes{0xFF, 0xFF, 0x00, 0x01}));  // the carry folds in
  EXPECT_EQ(0xFFFF, InternetChecksum(Bytes{}));
}

TEST(EchoRequest, HeaderPayloadAndChecksum) {
  // 0x0800 + 0x1234 + 0x0001 = 0x1A35, complemented.
  EXPECT_EQ((Bytes{8, 0, 0xE5, 0xCA, 0x12, 0x34, 0, 1, 0, 0, 0, 0}),
            BuildEchoRequest({0x1234, 1, 0}, 0));
  // An odd length: 0x0800 + 0xA700 (the last byte padded below), complemented.
  EXPECT_EQ((Bytes{8, 0, 0x50, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0xA7}),
            BuildEchoRequest({0, 0, 0}, 1));

  const Bytes request = BuildEchoRequest({0xBEEF, 0x0102, 0x03040506}, 64);
  ASSERT_EQ(76u, request.size());
  EXPECT_EQ((Bytes{0xBE, 0xEF, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06}),
            Bytes(request.begin() + 4, request.begin() + 12));
  EXPECT_EQ(Bytes(64, 0xA7), Bytes(request.begin() + 12, request.end()));
  EXPECT_EQ(0, InternetChecksum(request));
  EXPECT_EQ(0, InternetChecksum(BuildEchoRequest({0xBEEF, 7, 99}, 63)));
}

TEST(EchoReply, OnlyAnEchoReplyWithOurIdentifier) {
  const Bytes request = BuildEchoRequest({0x4242, 9, 123456}, 64);
  const Bytes reply = Datagram(ReplyTo(request));
  const std::optional<EchoReply> parsed = ParseEchoReply(reply, 0x4242);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(0x7F000001u, parsed->source);
  EXPECT_EQ(9, parsed->sequence);
  EXPECT_EQ(123456u, parsed->stamp);
  EXPECT_TRUE(ParseEchoReply(Datagram(ReplyTo(request), 6), 0x4242));  // with IP options

  EXPECT_EQ(std::nullopt, ParseEchoReply(reply, 0x4243));
  EXPECT_EQ(std::nullopt, ParseEchoReply(Datagram(request), 0x4242));
  EXPECT_EQ(std::nullopt, ParseEchoReply(Changed(reply, 20, 3), 0x4242));  // unreachable
  EXPECT_EQ(std::nullopt, ParseEchoReply(Changed(reply, 9, 17), 0x4242));  // UDP
  EXPECT_EQ(std::nullopt, ParseEchoReply(Changed(reply, 0, 0x65), 0x4242));
  EXPECT_EQ(std::nullopt, ParseEchoReply(Changed(reply, 0, 0x44), 0x4242));  // 16-byte header

  // The payload is not needed, the echo header is.
  EXPECT_TRUE(ParseEchoReply(Bytes(reply.begin(), reply.begin() + 32), 0x4242));
  for (std::size_t length = 0; length < 32; ++length) {
    const Bytes cut(reply.begin(), reply.begin() + length);
    EXPECT_EQ(std::nullopt, ParseEchoReply(cut, 0x4242)) << "cut at " << length;
  }
}

TEST(EchoNumbering, SequenceIdentifierAndRoundTrip) {
  const std::uint16_t first = NextEchoSequence();
  EXPECT_EQ(static_cast<std::uint16_t>(first + 1), NextEchoSequence());
  for (int i = 0; i < 65534; ++i) {
    NextEchoSequence();
  }
  EXPECT_EQ(first, NextEchoSequence());

  const char pingers[2] = {};
  EXPECT_NE(EchoIdentifier(&pingers[0]), EchoIdentifier(&pingers[1]));

  EXPECT_EQ(250u, RoundTripMs(1000, 1250));
  EXPECT_EQ(2u, RoundTripMs(0xFFFFFFFF, 1));
}

}  // namespace
