// The transfer histogram's painting.
#include "ui/histogram_view_win.h"

#include <windows.h>

namespace {

// One bar: a 3-pixel line per row, from the bottom row (y = 20) up to the top (y = 1).
void PaintBar(HDC dc, int x, int height) {
  for (int row = 1; row <= kHistogramRows; ++row) {
    SetDCPenColor(dc, HistogramCellColour(height, row));
    const int y = kHistogramRows + 1 - row;
    MoveToEx(dc, x, y, nullptr);
    LineTo(dc, x + kHistogramPitch - 1, y);
  }
}

}  // namespace

// Painted off screen first, so the once-a-second repaint does not flicker.
void PaintHistogram(HDC dc, const RECT& box, const HistogramBars& bars, uint32_t background) {
  const int width = box.right - box.left;
  const int height = box.bottom - box.top;
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
  HGDIOBJ old_bitmap = SelectObject(memory, bitmap);
  HBRUSH brush = CreateSolidBrush(background);
  const RECT all{0, 0, width, height};
  FillRect(memory, &all, brush);
  DeleteObject(brush);

  HGDIOBJ old_pen = SelectObject(memory, GetStockObject(DC_PEN));
  for (size_t k = 0; k < bars.size(); ++k)
    PaintBar(memory, static_cast<int>(k) * kHistogramPitch, bars[k]);
  SelectObject(memory, old_pen);

  BitBlt(dc, box.left, box.top, width, height, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old_bitmap);
  DeleteObject(bitmap);
  DeleteDC(memory);
}
