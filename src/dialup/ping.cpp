// TPing: echo requests and their replies.
#include "dialup/ping.h"

#include "dialup/ping_packet.h"

TPing::TPing(Network& network, Clock& clock)
    : network_(network),
      clock_(clock),
      identifier_(EchoIdentifier(this)),
      self_(std::make_shared<TPing*>(this)) {}

TPing::~TPing() {
  *self_ = nullptr;
}

void TPing::Ping() {
  const uint32_t target = network_.Resolve(Hostname);
  switch (network_.Mode()) {
    case IcmpMode::None:
      throw EICMPError("No ICMP available");
    case IcmpMode::Raw: {
      if (!socket_)
        socket_ = network_.OpenRawIcmp([this](const auto& datagram) { OnDatagram(datagram); });
      const auto stamp = static_cast<uint32_t>(clock_.MonotonicMs());
      if (socket_)  // a send that fails is not reported: a lost reply is not either
        socket_->SendTo(target,
                        BuildEchoRequest({identifier_, NextEchoSequence(), stamp}, Blocksize));
      return;
    }
    case IcmpMode::Library:
      network_.LibraryEcho(
          target, Blocksize, TimeToLive, Timeout, [self = self_](const IcmpEchoResult& result) {
            TPing* ping = *self;
            if (ping && ping->OnPing)
              ping->OnPing(*ping, result.status, result.address, result.round_trip_ms);
          });
      return;
  }
}

void TPing::OnDatagram(const std::vector<uint8_t>& datagram) {
  const auto reply = ParseEchoReply(datagram, identifier_);
  if (!reply || !OnPing)
    return;
  const auto now = static_cast<uint32_t>(clock_.MonotonicMs());
  OnPing(*this, 0, reply->source, RoundTripMs(reply->stamp, now));
}
