// Byte counts of the dial-up line: the baseline arithmetic, and the RAS totals read from
// the system's performance data.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

// Cumulative byte counters of the line as the system reports them.
struct LineCounters {
  std::uint64_t transmitted = 0;
  std::uint64_t received = 0;
  bool operator==(const LineCounters&) const = default;
};

// The bytes a connection has moved, counted from a baseline taken before it was dialed.
// Starts with raw counters and baseline at 0.
class LineStatistics {
 public:
  // Takes the system's current counters. A 32-bit counter that fell by more than half its
  // range since the last reading wrapped, and its count goes on: past its baseline again,
  // the count wraps at 32 bits as a count from 0 does. Any other fall means the adapter
  // restarted: both baselines then move to the new counters, so both counts start again
  // from 0.
  void Update(const LineCounters& raw);
  // The counts run from the current raw counters from now on; both read 0.
  void ResetBaseline();

  // Bytes sent and received since the baseline.
  std::uint64_t BytesXmit() const { return Since(raw_.transmitted, baseline_.transmitted); }
  std::uint64_t BytesRecv() const { return Since(raw_.received, baseline_.received); }

 private:
  // A counter below its baseline wrapped since: the count is taken modulo 32 bits.
  static std::uint64_t Since(std::uint64_t raw, std::uint64_t baseline);

  LineCounters raw_;
  LineCounters baseline_;
};

// Title indices of the RAS totals object and of its two byte counters.
inline constexpr std::uint32_t kRasTotalObject = 906;
inline constexpr std::uint32_t kBytesTransmittedCounter = 872;
inline constexpr std::uint32_t kBytesReceivedCounter = 874;

// The byte counters of the RAS totals object in a performance-data block, as the registry's
// performance-data root answers for the value "906". An object with instances gives the
// largest value of each counter among them. Counters of 32 and 64 bits are read unsigned.
//
// nullopt ("no counters") when the block holds no RAS totals object, when that object lacks
// either counter, and when the block is short or inconsistent anywhere on the way: every
// offset and length is checked against `block` and nothing outside it is read.
std::optional<LineCounters> ParseRasTotals(std::span<const std::uint8_t> block);
