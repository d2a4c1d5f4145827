// The transfer ring and the histogram's bars.
#include "display/histogram.h"

#include <algorithm>

namespace {

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) {
  return r | g << 8 | b << 16;
}

// From the top of a full bar (hot) to its bottom (calm).
constexpr std::array<uint32_t, kHistogramRows> kPalette = {
    Rgb(190, 41, 16), Rgb(206, 41, 16),  Rgb(214, 90, 0),   Rgb(214, 102, 0),  Rgb(214, 115, 0),
    Rgb(198, 123, 8), Rgb(222, 165, 24), Rgb(214, 181, 33), Rgb(189, 222, 41), Rgb(148, 222, 33),
    Rgb(41, 206, 16), Rgb(50, 190, 16),  Rgb(57, 181, 16),  Rgb(33, 156, 8),   Rgb(49, 140, 8),
    Rgb(33, 126, 8),  Rgb(17, 112, 8),   Rgb(5, 106, 8),    Rgb(2, 89, 3),     Rgb(0, 64, 0),
};
constexpr uint32_t kEmptyCell = Rgb(37, 80, 138);

// value / max * 20 to the nearest integer, halves to even, in integers so that 1.5 is
// exactly a half.
int Height(uint32_t value, int32_t his_recv_max) {
  const uint64_t max = static_cast<uint64_t>(his_recv_max);
  const uint64_t scaled = uint64_t{value} * kHistogramRows;
  const uint64_t whole = scaled / max;
  const uint64_t twice_rest = scaled % max * 2;
  const bool up = twice_rest > max || (twice_rest == max && whole % 2 == 1);
  return static_cast<int>(std::min<uint64_t>(whole + up, kHistogramRows));
}

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

HistogramBars BarHeights(const TransferRing& ring, int32_t his_recv_max) {
  const int32_t max = his_recv_max < 1 ? 1024 : his_recv_max;
  HistogramBars bars{};
  int cell = ring.WriteIndex();
  for (int& bar : bars) {
    cell = (cell + TransferRing::kCells - 1) % TransferRing::kCells;
    const TransferSample& sample = ring.Cells()[cell];
    bar = Height(static_cast<uint32_t>(sample.received) + static_cast<uint32_t>(sample.sent), max);
  }
  return bars;
}

uint32_t HistogramCellColour(int height, int row) {
  return row <= height ? kPalette[height - row] : kEmptyCell;
}

HistogramCellBox HistogramCell(int bar, int row, int dpi) {
  // Rounded to the nearest pixel, as the skin scales its coordinates.
  const auto scale = [dpi](int at) { return (at * dpi + 48) / 96; };
  const int left = bar * kHistogramPitch;
  const int top = kHistogramRows + 1 - row;
  return {scale(left), scale(top), scale(left + kHistogramPitch - 1), scale(top + 1)};
}
