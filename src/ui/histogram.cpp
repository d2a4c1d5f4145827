// The transfer ring.
#include "ui/histogram.h"

namespace {

// The low 32 bits, as the ring keeps its counts.
int32_t Low32(int64_t value) {
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

int32_t Difference(int32_t now, int32_t before) {
  return static_cast<int32_t>(static_cast<uint32_t>(now) - static_cast<uint32_t>(before));
}

}  // namespace

void TransferRing::TakeSample(bool read, int64_t bytes_received, int64_t bytes_sent) {
  TransferSample sample;
  if (read) {
    sample = {Difference(Low32(bytes_received), last_recv_),
              Difference(Low32(bytes_sent), last_sent_)};
    last_recv_ = Low32(bytes_received);
    last_sent_ = Low32(bytes_sent);
  }
  cells_[write_index_] = sample;
  write_index_ = (write_index_ + 1) % kCells;
}

void TransferRing::ResetLast() {
  last_recv_ = 0;
  last_sent_ = 0;
}
