// What the screen shows of a window, as pixels to compare and as a picture for the manual.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "driver.h"

struct Pixels {
  int Width = 0, Height = 0;
  std::vector<uint32_t> Data;  // 0x00RRGGBB, top row first
  uint32_t At(int x, int y) const { return Data[y * Width + x] & 0xFFFFFF; }
};

Pixels ReadBitmap(HDC dc, HBITMAP bitmap, int width, int height);
// The whole window, or its client area alone (without a window manager, Wine draws no
// frame, and the window's rectangle shows what lies under it there).
Pixels Capture(Hwnd window, bool client_only = false);
// Saves a 24-bit BMP into screenshots/ beside the tests (tools/screenshots makes PNGs).
// False when it cannot be written.
bool Save(const Pixels& pixels, const std::string& name);
