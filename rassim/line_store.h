// The connected lines of the machine, kept where every process sees them: one file per
// line beside the user's phonebook, "rassim-line-<handle>", written whole. A line's state
// is computed from its file and the machine's clock by whichever process asks, so a line
// lives on when the process that dialed it is gone.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rassim {

// Milliseconds on a clock that every process of the machine reads alike.
uint64_t MachineMs();

// What a line was dialed with, when it connected and how it ends.
struct LineRecord {
  uint64_t handle = 0;
  std::string entry;
  std::string phonebook;
  std::string phone_number;
  std::string device;
  std::string device_type;
  std::string server_ip;
  std::string client_ip;
  uint64_t connected_at = 0;  // MachineMs
  uint32_t drop_after_s = 0;  // 0: never drops by itself
  uint32_t drop_linger_ms = 0;
  uint32_t hang_up_delay_ms = 0;
  uint32_t link_speed = 0;
  uint32_t send_bps = 0;
  uint32_t recv_bps = 0;
  uint64_t moved_received = 0;  // bytes a test moved on top of the rates
  uint64_t moved_sent = 0;
  std::optional<uint64_t> dropped_at;  // dropped by a command
  std::optional<uint64_t> hung_up_at;  // RasHangUpA, from any process
};

enum class Phase {
  kConnected,
  kHangingUp,  // a hang-up is under way: disconnected, without error
  kDropped,    // dropped and lingering: disconnected, with error 619
  kGone,       // RAS no longer knows the handle
};

struct LineState {
  Phase phase;
  uint32_t reason;  // of a line dropped or gone: 619 dropped, 631 hung up
};

LineState StateAt(const LineRecord& line, uint64_t now);
// When the line stopped carrying data, if it did: dropped by a command or by DropAfter.
std::optional<uint64_t> DropTime(const LineRecord& line);

// The first moment after `now` when the line's state changes by itself, if any.
std::optional<uint64_t> NextChange(const LineRecord& line, uint64_t now);

// Every line file of the folder, gone ones too, by handle.
std::vector<LineRecord> ReadLines();
std::optional<LineRecord> ReadLine(uint64_t handle);
bool WriteLine(const LineRecord& line);
void RemoveLine(uint64_t handle);

// A handle no process of the machine has had before.
uint64_t NewHandle();

}  // namespace rassim
