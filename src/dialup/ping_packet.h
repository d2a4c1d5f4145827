// The ICMP echo request of the keep-alive ping over a raw socket, and how its reply is
// recognised among the datagrams that socket receives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// Type, code, checksum, identifier, sequence and the send stamp.
inline constexpr std::size_t kEchoHeaderSize = 12;
inline constexpr std::uint8_t kEchoPayloadByte = 0xA7;

// The Internet checksum (RFC 1071) of `bytes`: the ones' complement of the ones'-complement
// sum of its 16-bit big-endian words, an odd last byte padded with a zero byte. Over a
// message that carries its checksum (big-endian) the result is 0.
std::uint16_t InternetChecksum(std::span<const std::uint8_t> bytes);

struct EchoRequestFields {
  std::uint16_t identifier = 0;  // tells this pinger's replies apart
  std::uint16_t sequence = 0;
  std::uint32_t stamp = 0;  // the sender's millisecond clock, echoed back in the reply
};

// An echo request (type 8, code 0) of kEchoHeaderSize + `blocksize` bytes: the fields in
// network byte order, then `blocksize` bytes of kEchoPayloadByte, with the checksum of the
// whole message in its place.
std::vector<std::uint8_t> BuildEchoRequest(const EchoRequestFields& fields, std::uint8_t blocksize);

struct EchoReply {
  std::uint32_t source = 0;  // the replying host, first octet highest: 127.0.0.1 is 0x7F000001
  std::uint16_t sequence = 0;
  std::uint32_t stamp = 0;  // as the request carried it
};

// The echo reply to a request of `identifier` in `datagram`, an IPv4 datagram as a raw
// socket receives it, header first. nullopt for anything else: another protocol or IP
// version, another ICMP type or code (such as the request itself, seen on the loopback),
// another identifier, or a datagram too short for its IP header and an echo header.
// IP options are skipped by the header length.
std::optional<EchoReply> ParseEchoReply(std::span<const std::uint8_t> datagram,
                                        std::uint16_t identifier);

// The receive buffer for a reply to a request of `blocksize`: the largest IPv4 header (60
// bytes) and the echo, so that a reply carrying IP options is not cut.
constexpr std::size_t EchoReplyBufferSize(std::uint8_t blocksize) {
  return 60 + kEchoHeaderSize + blocksize;
}

// Milliseconds from the `sent` stamp to the `now` stamp of the same 32-bit millisecond
// clock; a clock that wrapped in between still gives the forward distance.
std::uint32_t RoundTripMs(std::uint32_t sent, std::uint32_t now);

// The identifier of the pinger at `pinger`: the low 16 bits of its address, so that pingers
// in one process see only their own replies.
std::uint16_t EchoIdentifier(const void* pinger);

// The next sequence number of the process, shared by all pingers: 0 first, then counting
// up and wrapping after 65535.
std::uint16_t NextEchoSequence();
