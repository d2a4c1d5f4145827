// The histogram's bars: newest first, rounded half to even, limited, and their colours.
#include "display/histogram.h"

#include <gtest/gtest.h>

namespace {

TEST(Histogram, BarsRunNewestFirstRoundHalvesToEvenAndFillOnANegativeDelta) {
  TransferRing ring;
  ring.TakeSample(true, 4000, 1120);  // 5120 of 10240: half a bar
  ring.TakeSample(true, 4256, 1120);  // 256: 0.5 rounds down to an empty column
  ring.TakeSample(true, 4856, 1288);  // 768: 1.5 rounds up to 2
  ring.TakeSample(true, 6136, 1288);  // 1280: 2.5 rounds down to 2
  ring.TakeSample(true, 100, 0);      // a new baseline: the delta is negative
  ring.TakeSample(false, 0, 0);

  const HistogramBars bars = BarHeights(ring, 10240);
  EXPECT_EQ(bars[0], 0);
  EXPECT_EQ(bars[1], 20);
  EXPECT_EQ(bars[2], 2);
  EXPECT_EQ(bars[3], 2);
  EXPECT_EQ(bars[4], 0);
  EXPECT_EQ(bars[5], 10);
  EXPECT_EQ(bars[6], 0);

  // Half a bar: the palette's hot end on top, entry 9 at the bottom, empty cells above.
  EXPECT_EQ(HistogramCellColour(10, 10), 0x1029BEu);  // RGB(190,41,16)
  EXPECT_EQ(HistogramCellColour(10, 1), 0x21DE94u);   // RGB(148,222,33)
  EXPECT_EQ(HistogramCellColour(10, 11), 0x8A5025u);  // RGB(37,80,138)
  EXPECT_EQ(HistogramCellColour(20, 1), 0x004000u);   // RGB(0,64,0)
  EXPECT_EQ(HistogramCellColour(0, 1), 0x8A5025u);
}

TEST(Histogram, TheNewestSampleLeadsAfterTheRingWrapsAndAScaleBelowOneIs1024) {
  TransferRing ring;
  for (int i = 0; i < TransferRing::kCells; ++i)
    ring.TakeSample(true, 1024 * (i + 1), 0);  // 1024 a second: 2 of 20
  ring.TakeSample(true, 1024 * TransferRing::kCells + 512, 0);

  const HistogramBars bars = BarHeights(ring, 10240);
  EXPECT_EQ(bars[0], 1);  // 512
  EXPECT_EQ(bars[1], 2);
  EXPECT_EQ(bars[38], 2);

  EXPECT_EQ(BarHeights(ring, 0)[0], 10);  // 512 of 1024
  EXPECT_EQ(BarHeights(ring, -5)[1], 20);
}

TEST(Histogram, CellsScaleWithTheDisplayWithoutGapsBetweenRowsOrMergedBars) {
  EXPECT_EQ(HistogramCell(0, 1, 96).Top, 20);  // 100%: 3 x 1 pixels, a gap of 1
  EXPECT_EQ(HistogramCell(2, 20, 96).Left, 8);
  EXPECT_EQ(HistogramCell(2, 20, 96).Right, 11);
  EXPECT_EQ(HistogramCell(2, 20, 96).Bottom, 2);
  for (int dpi : {96, 120, 144, 168, 192}) {
    // The bars fill the box as it is scaled: 21 rows high at 100%.
    EXPECT_EQ(HistogramCell(0, 1, dpi).Bottom, (21 * dpi + 48) / 96) << dpi;
    for (int bar = 0; bar < TransferRing::kCells - 1; ++bar) {
      const HistogramCellBox bottom = HistogramCell(bar, 1, dpi);
      EXPECT_GT(HistogramCell(bar + 1, 1, dpi).Left, bottom.Right) << dpi << " " << bar;
      EXPECT_GE(bottom.Right - bottom.Left, 3 * dpi / 96) << dpi << " " << bar;
      for (int row = 1; row < kHistogramRows; ++row) {
        const HistogramCellBox cell = HistogramCell(bar, row, dpi);
        EXPECT_EQ(HistogramCell(bar, row + 1, dpi).Bottom, cell.Top) << dpi << " " << row;
        EXPECT_GE(cell.Bottom - cell.Top, dpi / 96) << dpi << " " << row;
      }
    }
  }
}

}  // namespace
