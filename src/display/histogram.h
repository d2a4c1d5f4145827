// The transfer histogram: the ring of the bytes each of the last 40 seconds moved, and the
// bars drawn from it.
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

// The histogram's picture: one bar per cell but the oldest, newest first; bar k is drawn
// from x = 4k, 3 pixels wide, and is up to 20 rows high.
constexpr int kHistogramRows = 20;
constexpr int kHistogramPitch = 4;
using HistogramBars = std::array<int, TransferRing::kCells - 1>;

// Each bar's height: its cell's bytes, received and sent added as unsigned 32-bit numbers
// (so the negative delta of a re-baseline fills the bar), against `his_recv_max` bytes for
// a full bar, rounded half to even and limited to 0-20. A maximum below 1 counts as 1024,
// as the smallest scale the options offer.
HistogramBars BarHeights(const TransferRing& ring, int32_t his_recv_max);

// The colour (0x00BBGGRR) of row `row` (1 = bottom, 20 = top) of a bar `height` high: the
// lit rows take the palette from entry 0 at the bar's top downwards, the rows above the
// bar the empty-cell colour.
uint32_t HistogramCellColour(int height, int row);

// Where row `row` (1 = bottom, 20 = top) of bar `bar` lies in the histogram's box at
// `dpi` (96 is 100%, where it is 3 x 1 pixels), right and bottom excluded. Edges are scaled
// and rounded as the rest of the skin's, so rows touch, bars keep their gap, and the bars
// fill the box as they do at 100%.
struct HistogramCellBox {
  int Left, Top, Right, Bottom;
};
HistogramCellBox HistogramCell(int bar, int row, int dpi);

// What the histogram asks of the window: paint these bars, now and whenever it repaints.
class HistogramView {
 public:
  virtual ~HistogramView() = default;
  virtual void ShowHistogram(const HistogramBars& bars) = 0;
};
