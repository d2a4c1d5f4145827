// Screen captures of the program's windows.
#include "screenshot_win.h"

#include <cstdio>

#include "ui/artwork_win.h"

Pixels ReadBitmap(HDC dc, HBITMAP bitmap, int width, int height) {
  Pixels pixels{width, height, std::vector<uint32_t>(width * height)};
  BITMAPINFO info = TopDownBitmapInfo(width, height);
  GetDIBits(dc, bitmap, 0, height, pixels.Data.data(), &info, DIB_RGB_COLORS);
  return pixels;
}

// What the screen shows of the window.
Pixels Capture(Hwnd window, bool client_only) {
  RECT rect;
  GetWindowRect(static_cast<HWND>(window), &rect);
  if (client_only) {
    GetClientRect(static_cast<HWND>(window), &rect);
    MapWindowPoints(static_cast<HWND>(window), nullptr, reinterpret_cast<POINT*>(&rect), 2);
  }
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(dc, bitmap);
  BitBlt(dc, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  SelectObject(dc, old);
  Pixels pixels = ReadBitmap(dc, bitmap, width, height);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// Saves a 24-bit BMP into screenshots/ beside the tests (tools/screenshots makes PNGs).
bool Save(const Pixels& pixels, const std::string& name) {
  const std::string folder = TestBinDir() + "screenshots\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  FILE* out = std::fopen((folder + name + ".bmp").c_str(), "wb");
  if (!out)
    return false;
  const int row = (pixels.Width * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + row * pixels.Height;
  info.biSize = sizeof(info);
  info.biWidth = pixels.Width;
  info.biHeight = pixels.Height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  std::fwrite(&file, sizeof(file), 1, out);
  std::fwrite(&info, sizeof(info), 1, out);
  std::vector<unsigned char> line(row);
  for (int y = pixels.Height - 1; y >= 0; --y) {
    for (int x = 0; x < pixels.Width; ++x) {
      const uint32_t p = pixels.At(x, y);
      line[x * 3] = p & 0xFF;
      line[x * 3 + 1] = p >> 8 & 0xFF;
      line[x * 3 + 2] = p >> 16 & 0xFF;
    }
    std::fwrite(line.data(), 1, row, out);
  }
  return std::fclose(out) == 0;
}
