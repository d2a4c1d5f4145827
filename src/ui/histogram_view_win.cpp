// The transfer histogram's painting.
#include "ui/histogram_view_win.h"

#include <windows.h>

namespace {

// One bar, row by row from the bottom, each cell scaled to the display as the box is.
void PaintBar(HDC dc, int bar, int height, int dpi) {
  for (int row = 1; row <= kHistogramRows; ++row) {
    SetDCBrushColor(dc, HistogramCellColour(height, row));
    const HistogramCellBox cell = HistogramCell(bar, row, dpi);
    const RECT box{cell.Left, cell.Top, cell.Right, cell.Bottom};
    FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  }
}

}  // namespace

// Painted off screen first, so the once-a-second repaint does not flicker.
void PaintHistogram(HDC dc, const RECT& box, const HistogramBars& bars, uint32_t background,
                    int dpi) {
  const int width = box.right - box.left;
  const int height = box.bottom - box.top;
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
  HGDIOBJ old_bitmap = SelectObject(memory, bitmap);
  HBRUSH brush = CreateSolidBrush(background);
  const RECT all{0, 0, width, height};
  FillRect(memory, &all, brush);
  DeleteObject(brush);

  for (size_t k = 0; k < bars.size(); ++k)
    PaintBar(memory, static_cast<int>(k), bars[k], dpi);

  BitBlt(dc, box.left, box.top, width, height, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old_bitmap);
  DeleteObject(bitmap);
  DeleteDC(memory);
}
