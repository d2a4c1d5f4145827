// The transfer ring behind the histogram: the bytes each of the last 40 seconds moved.
#pragma once

#include <array>
#include <cstdint>

struct TransferSample {
  int32_t received = 0;
  int32_t sent = 0;
};

class TransferRing {
 public:
  static constexpr int kCells = 40;

  // One second's sample. `read` tells whether the statistics could be read; when they
  // could, the cell holds the bytes moved since the last sample (low 32 bits, so a
  // re-baseline shows as a large value), else zeros.
  void TakeSample(bool read, int64_t bytes_received, int64_t bytes_sent);
  // A dial starts: the counts run from a new baseline, and so do the last totals.
  void ResetLast();

  int32_t LastRecv() const { return last_recv_; }
  int32_t LastSent() const { return last_sent_; }
  const std::array<TransferSample, kCells>& Cells() const { return cells_; }
  int WriteIndex() const { return write_index_; }

 private:
  std::array<TransferSample, kCells> cells_{};
  int write_index_ = 0;
  int32_t last_recv_ = 0;
  int32_t last_sent_ = 0;
};
