// Port: ICMP echoes, over a raw socket or the system's ICMP library.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Addresses are IPv4 addresses as numbers, first octet highest: 127.0.0.1 is 0x7F000001.
enum class IcmpMode { None, Raw, Library };

struct IcmpEchoResult {
  uint32_t status = 0;   // 0: a reply came; otherwise the library's status (11010: timed out)
  uint32_t address = 0;  // where the reply came from
  uint32_t round_trip_ms = 0;
};

// A raw ICMP socket, closed when destroyed.
class RawIcmpSocket {
 public:
  virtual ~RawIcmpSocket() = default;
  // Sends the ICMP message to the address; false when the system refused.
  virtual bool SendTo(uint32_t address, const std::vector<uint8_t>& message) = 0;
};

class Network {
 public:
  virtual ~Network() = default;
  // How echoes can go out, found out once per process: a raw socket where the system
  // allows one, else the ICMP library, else none.
  virtual IcmpMode Mode() = 0;
  // A dotted address or a host name as an address; 0xFFFFFFFF when the name is empty or
  // cannot be resolved.
  virtual uint32_t Resolve(const std::string& host) = 0;
  // Opens a raw ICMP socket; null when that is not possible. Every datagram it receives
  // later (with its IP header) goes to `on_datagram` on the UI thread, as long as the
  // socket lives. Must be called on the UI thread.
  virtual std::unique_ptr<RawIcmpSocket> OpenRawIcmp(
      std::function<void(const std::vector<uint8_t>&)> on_datagram) = 0;
  // Sends one echo through the ICMP library (payload: `blocksize` bytes of 0xA7) and waits
  // for the reply off the UI thread, so the window stays responsive; `done` then runs on
  // the UI thread. Must be called on the UI thread.
  virtual void LibraryEcho(uint32_t address, uint8_t blocksize, uint8_t time_to_live,
                           uint32_t timeout_ms,
                           std::function<void(const IcmpEchoResult&)> done) = 0;
  // GETs `path` from the web server at `host` ("name" or "name:port", plain http) and
  // returns the body of its answer; nullopt when no answer with status 200 came within
  // `timeout_ms`. Messages are processed meanwhile, so the window stays responsive; must
  // be called on the UI thread.
  virtual std::optional<std::string> HttpGet(const std::string& host, const std::string& path,
                                             unsigned timeout_ms) = 0;
  // Makes a GET in progress return nullopt at once, without waiting for the server;
  // nothing when none is in progress. Must be called on the UI thread.
  virtual void CancelHttpGet() = 0;
};
