// The ICMP echo request of the keep-alive ping and the recognition of its reply.
#include "dialup/ping_packet.h"

#include <atomic>
#include <cstdint>

namespace {

constexpr std::uint8_t kEchoRequest = 8;
constexpr std::uint8_t kEchoReplyType = 0;
constexpr std::uint8_t kIcmpProtocol = 1;
constexpr std::size_t kSmallestIpHeader = 20;

void PutBig16(std::uint8_t* at, std::uint16_t value) {
  at[0] = static_cast<std::uint8_t>(value >> 8);
  at[1] = static_cast<std::uint8_t>(value);
}

void PutBig32(std::uint8_t* at, std::uint32_t value) {
  PutBig16(at, static_cast<std::uint16_t>(value >> 16));
  PutBig16(at + 2, static_cast<std::uint16_t>(value));
}

std::uint16_t Big16(const std::uint8_t* at) {
  return static_cast<std::uint16_t>(at[0] << 8 | at[1]);
}

std::uint32_t Big32(const std::uint8_t* at) {
  return static_cast<std::uint32_t>(Big16(at)) << 16 | Big16(at + 2);
}

}  // namespace

std::uint16_t InternetChecksum(std::span<const std::uint8_t> bytes) {
  std::uint64_t sum = 0;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    sum += Big16(&bytes[i]);
  }
  if (bytes.size() % 2 != 0) {
    sum += static_cast<std::uint64_t>(bytes.back()) << 8;
  }
  while (sum > 0xFFFF) {
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  return static_cast<std::uint16_t>(~sum);
}

std::vector<std::uint8_t> BuildEchoRequest(const EchoRequestFields& fields,
                                           std::uint8_t blocksize) {
  std::vector<std::uint8_t> packet(kEchoHeaderSize + blocksize, kEchoPayloadByte);
  packet[0] = kEchoRequest;
  packet[1] = 0;
  PutBig16(&packet[2], 0);
  PutBig16(&packet[4], fields.identifier);
  PutBig16(&packet[6], fields.sequence);
  PutBig32(&packet[8], fields.stamp);
  PutBig16(&packet[2], InternetChecksum(packet));
  return packet;
}

std::optional<EchoReply> ParseEchoReply(std::span<const std::uint8_t> datagram,
                                        std::uint16_t identifier) {
  if (datagram.size() < kSmallestIpHeader || datagram[0] >> 4 != 4 ||
      datagram[9] != kIcmpProtocol) {
    return std::nullopt;
  }
  const std::size_t header = (datagram[0] & 0x0Fu) * 4;
  if (header < kSmallestIpHeader || datagram.size() < header + kEchoHeaderSize) {
    return std::nullopt;
  }
  const std::uint8_t* echo = &datagram[header];
  if (echo[0] != kEchoReplyType || echo[1] != 0 || Big16(echo + 4) != identifier) {
    return std::nullopt;
  }
  return EchoReply{Big32(&datagram[12]), Big16(echo + 6), Big32(echo + 8)};
}

std::uint32_t RoundTripMs(std::uint32_t sent, std::uint32_t now) {
  return now - sent;
}

std::uint16_t EchoIdentifier(const void* pinger) {
  return static_cast<std::uint16_t>(reinterpret_cast<std::uintptr_t>(pinger));
}

std::uint16_t NextEchoSequence() {
  static std::atomic<std::uint16_t> next{0};
  return next++;
}
