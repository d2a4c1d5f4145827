// The program's pictures, drawn at run time at the scale of the display so that they
// stay sharp: the button glyphs, the welcome and about pictures, and the tray icons.
// Shapes are drawn four times larger and averaged down, which smooths their edges.
#pragma once

#include <windows.h>

#include <cstdint>

#include "display/skin.h"

// A logical length (100% scaling) in device pixels at `dpi`.
int ScaleToDpi(int value, int dpi);
COLORREF SkinRgb(uint32_t color);

// The description of a 32-bit top-down bitmap: rows top first, pixels 0xAARRGGBB.
BITMAPINFO TopDownBitmapInfo(int width, int height);
// A 32-bit top-down bitmap whose pixels (0xAARRGGBB, row by row) are at `bits`.
HBITMAP CreateTopDownDib(int width, int height, uint32_t** bits = nullptr);

// The colour a glyph is drawn in when its button can run.
uint32_t GlyphColor(Glyph glyph);
// Draws `glyph`, designed on a 24 x 24 grid, into the square `box` in `color`.
void DrawGlyph(HDC dc, Glyph glyph, const RECT& box, COLORREF color);

enum class TitleGlyph { Menu, Minimize, Tray };
void DrawTitleGlyph(HDC dc, TitleGlyph glyph, const RECT& box, COLORREF color);

// The welcome window's and the about box's pictures, filling `rect` (400 x 300 logical).
void PaintWelcomePicture(HDC dc, const RECT& rect, int dpi);
void PaintAboutPicture(HDC dc, const RECT& rect, int dpi);

// The tray icon, `size` pixels square: a modem whose lights are lit when online.
HICON CreateStateIcon(bool online, int size);
