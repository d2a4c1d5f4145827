// TPing: ICMP echo requests to one host, over a raw socket or the system's ICMP library.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/network.h"

// No way to send an echo at all.
class EICMPError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Used on the UI thread only; OnPing is always raised there. In raw mode a lost reply
// raises nothing, and Timeout and TimeToLive do not apply.
class TPing {
 public:
  TPing(Network& network, Clock& clock);
  ~TPing();
  TPing(const TPing&) = delete;
  TPing& operator=(const TPing&) = delete;

  uint32_t Timeout = 5000;  // milliseconds to wait for a reply (ICMP library only)
  uint8_t Blocksize = 64;   // payload bytes after the 12-byte header
  uint8_t TimeToLive = 255;
  std::string Hostname;  // dotted address or host name; empty sends to 255.255.255.255
  // Status 0 is a reply (else the library's status, 11010 timed out); `ip` is where the
  // reply came from, or the target when none did; `roundtime` in milliseconds.
  std::function<void(TPing& Sender, uint32_t status, uint32_t ip, uint32_t roundtime)> OnPing;

  // Sends one echo to Hostname and returns at once; the answer comes through OnPing.
  // Throws EICMPError "No ICMP available" when the system offers no way to send it.
  void Ping();

 private:
  void OnDatagram(const std::vector<uint8_t>& datagram);

  Network& network_;
  Clock& clock_;
  const uint16_t identifier_;
  std::unique_ptr<RawIcmpSocket> socket_;
  // Library echoes finish after their sender may be gone: they check this first.
  std::shared_ptr<TPing*> self_;
};
