// Painting the main window's skin and its flat buttons.
#include "ui/skin_win.h"

#include "ui/artwork_win.h"

namespace {

RECT Scaled(const SkinRect& r, int dpi) {
  return {ScaleToDpi(r.Left, dpi), ScaleToDpi(r.Top, dpi), ScaleToDpi(r.Right + 1, dpi),
          ScaleToDpi(r.Bottom + 1, dpi)};
}

void Fill(HDC dc, const RECT& rect, uint32_t color) {
  HBRUSH brush = CreateSolidBrush(SkinRgb(color));
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

void Border(HDC dc, const RECT& rect, uint32_t color) {
  HBRUSH brush = CreateSolidBrush(SkinRgb(color));
  FrameRect(dc, &rect, brush);
  DeleteObject(brush);
}

void PaintTitleButtons(HDC dc, int dpi) {
  constexpr TitleGlyph kGlyphs[] = {TitleGlyph::Menu, TitleGlyph::Minimize, TitleGlyph::Tray};
  for (const HotSpot& spot : HotSpots()) {
    const RECT box = Scaled(spot.Rect, dpi);
    HBRUSH brush = CreateSolidBrush(RGB(0x33, 0x55, 0x80));
    HGDIOBJ old_brush = SelectObject(dc, brush);
    HGDIOBJ old_pen = SelectObject(dc, GetStockObject(NULL_PEN));
    const int round = ScaleToDpi(6, dpi);
    RoundRect(dc, box.left, box.top, box.right + 1, box.bottom + 1, round, round);
    SelectObject(dc, old_pen);
    SelectObject(dc, old_brush);
    DeleteObject(brush);
    DrawTitleGlyph(dc, kGlyphs[static_cast<int>(spot.Button)], box, RGB(255, 255, 255));
  }
}

}  // namespace

HBITMAP CreateSkinBitmap(int dpi) {
  const int width = ScaleToDpi(kSkinWidth, dpi);
  const int height = ScaleToDpi(kSkinHeight, dpi);
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateTopDownDib(width, height);
  HGDIOBJ old = SelectObject(dc, bitmap);
  for (const SkinPanel& panel : SkinPanels()) {
    const RECT rect = Scaled(panel.Rect, dpi);
    Fill(dc, rect, panel.Color);
    if (panel.Bordered)
      Border(dc, rect, skin_color::kLine);
  }
  // A thin accent under the title strip, and the window's own edge.
  const int strip = ScaleToDpi(kTitleStripHeight, dpi);
  Fill(dc, {0, strip - ScaleToDpi(2, dpi), width, strip}, skin_color::kAccent);
  Border(dc, {0, 0, width, height}, skin_color::kTitle);
  PaintTitleButtons(dc, dpi);
  SelectObject(dc, old);
  DeleteDC(dc);
  return bitmap;
}

void DrawSkinButton(HDC dc, const RECT& rect, const SkinButton& button, const ButtonLook& look,
                    HFONT font, int dpi) {
  const uint32_t face = look.Down ? skin_color::kDown
                        : look.Hot && !look.Disabled
                            ? skin_color::kHot
                            : SkinColorAt(button.Left + button.Width / 2, button.Top + 2);
  Fill(dc, rect, SkinColorAt(button.Left, button.Top));
  HBRUSH brush = CreateSolidBrush(SkinRgb(face));
  HPEN pen = CreatePen(PS_SOLID, 1, SkinRgb(look.Down || look.Hot ? skin_color::kLine : face));
  HGDIOBJ old_brush = SelectObject(dc, brush);
  HGDIOBJ old_pen = SelectObject(dc, pen);
  const int round = ScaleToDpi(8, dpi);
  RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, round, round);
  SelectObject(dc, old_pen);
  SelectObject(dc, old_brush);
  DeleteObject(pen);
  DeleteObject(brush);

  const bool small = button.Height < 40;
  const int glyph = ScaleToDpi(small ? 18 : 26, dpi);
  const int left = (rect.left + rect.right - glyph) / 2;
  const int top = small ? (rect.top + rect.bottom - glyph) / 2 : rect.top + ScaleToDpi(6, dpi);
  const COLORREF ink = SkinRgb(look.Disabled ? skin_color::kMuted : GlyphColor(button.Picture));
  DrawGlyph(dc, button.Picture, {left, top, left + glyph, top + glyph}, ink);
  if (!small) {
    RECT caption{rect.left, top + glyph + ScaleToDpi(3, dpi), rect.right, rect.bottom};
    HGDIOBJ old_font = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, SkinRgb(look.Disabled ? skin_color::kMuted : skin_color::kText));
    DrawTextA(dc, button.Caption, -1, &caption,
              DT_CENTER | DT_SINGLELINE | DT_TOP | (look.Prefix ? 0 : DT_HIDEPREFIX));
    SelectObject(dc, old_font);
  }
  if (look.Focused) {
    RECT focus = rect;
    InflateRect(&focus, -ScaleToDpi(3, dpi), -ScaleToDpi(3, dpi));
    DrawFocusRect(dc, &focus);
  }
}
