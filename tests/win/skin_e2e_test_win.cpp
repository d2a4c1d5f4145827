// End to end: the skinned windows as the user sees them. Screenshots of the main window
// offline and online, the welcome window and the about box go to screenshots/ beside the
// tests; the main window's pixels must be the skin's wherever no control covers them,
// and the title strip drags the window.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "driver.h"
#include "ui/artwork_win.h"
#include "commands/command_ids.h"
#include "ui/skin_win.h"

namespace {

struct Pixels {
  int Width = 0, Height = 0;
  std::vector<uint32_t> Data;  // 0x00RRGGBB, top row first
  uint32_t At(int x, int y) const { return Data[y * Width + x] & 0xFFFFFF; }
};

Pixels ReadBitmap(HDC dc, HBITMAP bitmap, int width, int height) {
  Pixels pixels{width, height, std::vector<uint32_t>(width * height)};
  BITMAPINFO info = TopDownBitmapInfo(width, height);
  GetDIBits(dc, bitmap, 0, height, pixels.Data.data(), &info, DIB_RGB_COLORS);
  return pixels;
}

// What the screen shows of the window.
Pixels Capture(Hwnd window) {
  RECT rect;
  GetWindowRect(static_cast<HWND>(window), &rect);
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
void Save(const Pixels& pixels, const std::string& name) {
  const std::string folder = TestBinDir() + "screenshots\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  FILE* out = std::fopen((folder + name + ".bmp").c_str(), "wb");
  ASSERT_NE(out, nullptr);
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
  std::fclose(out);
}

// The rectangles of the window's visible children, in its client coordinates.
std::vector<RECT> ChildRects(Hwnd window) {
  std::vector<RECT> rects;
  for (HWND child = GetWindow(static_cast<HWND>(window), GW_CHILD); child;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child))
      continue;
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, static_cast<HWND>(window), reinterpret_cast<POINT*>(&rect), 2);
    rects.push_back(rect);
  }
  return rects;
}

// The count of pixels outside every child that differ from the skin's bitmap.
int PixelsOffTheSkin(Hwnd window, const Pixels& shown) {
  HBITMAP skin = CreateSkinBitmap(96);
  HDC dc = CreateCompatibleDC(nullptr);
  const Pixels expected = ReadBitmap(dc, skin, kSkinWidth, kSkinHeight);
  DeleteDC(dc);
  DeleteObject(skin);
  const std::vector<RECT> children = ChildRects(window);
  int off = 0;
  for (int y = 0; y < kSkinHeight; ++y) {
    for (int x = 0; x < kSkinWidth; ++x) {
      const POINT at{x, y};
      bool covered = false;
      for (const RECT& r : children)
        covered = covered || PtInRect(&r, at);
      if (!covered && shown.At(x, y) != expected.At(x, y))
        ++off;
    }
  }
  return off;
}

constexpr const char* kPhonebook =
    "[Home]\nStepDelayMs=10\nServerIP=127.0.2.1\nClientIP=127.0.2.9\n";

TEST(SkinE2E, TheWindowsShowTheirArtworkAndTheMainWindowTheSkinWhereNoControlIs) {
  Tarvolin app;
  app.WritePhonebook(kPhonebook);
  app.Start();
  Hwnd welcome = app.WaitForTopLevel("Welcome");
  ASSERT_NE(welcome, nullptr);
  Sleep(300);  // let it paint
  Save(Capture(welcome), "welcome");

  Hwnd main = app.WaitForMainWindow();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(static_cast<HWND>(main)); }));
  RECT client;
  GetClientRect(static_cast<HWND>(main), &client);
  EXPECT_EQ(client.right, kSkinWidth);  // no frame: the window is all client
  EXPECT_EQ(client.bottom, kSkinHeight);
  SetForegroundWindow(static_cast<HWND>(main));
  Sleep(500);
  const Pixels offline = Capture(main);
  Save(offline, "main-window-offline");
  EXPECT_EQ(PixelsOffTheSkin(main, offline), 0);

  app.Click(IDC_BTNDIAL);
  ASSERT_TRUE(WaitUntil([&] { return app.Text(IDC_LBLONLINE) == "Online"; }));
  Sleep(2500);  // a few seconds of read-outs and histogram
  const Pixels online = Capture(main);
  Save(online, "main-window-online");
  EXPECT_EQ(PixelsOffTheSkin(main, online), 0);

  app.Command(IDM_ABOUT1);
  Hwnd about = app.WaitForTopLevel("About");
  ASSERT_NE(about, nullptr);
  Sleep(500);
  Save(Capture(about), "about");
  RECT about_rect;
  GetWindowRect(static_cast<HWND>(about), &about_rect);
  EXPECT_EQ(about_rect.right - about_rect.left, 400);
  EXPECT_EQ(about_rect.bottom - about_rect.top, 300);
  PostMessageA(static_cast<HWND>(about), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(static_cast<HWND>(about)); }));
}

void MouseTo(int x, int y, DWORD flags = 0) {
  SetCursorPos(x, y);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  if (flags)
    SendInput(1, &input, sizeof(input));
  Sleep(100);
}

TEST(SkinE2E, DraggingTheTitleStripMovesTheWindowAndTheTitleButtonsAreNotCaption) {
  Tarvolin app;
  ASSERT_TRUE(app.StartWith(kPhonebook));
  HWND main = static_cast<HWND>(app.MainWindow());
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main); }));
  SetForegroundWindow(main);
  RECT before;
  GetWindowRect(main, &before);
  auto hit = [&](int x, int y) {
    return SendMessageA(main, WM_NCHITTEST, 0, MAKELPARAM(before.left + x, before.top + y));
  };
  EXPECT_EQ(hit(24, 24), HTCLIENT);
  EXPECT_EQ(hit(200, 27), HTCAPTION);
  EXPECT_EQ(hit(200, 28), HTCLIENT);

  MouseTo(before.left + 150, before.top + 12);
  MouseTo(before.left + 150, before.top + 12, MOUSEEVENTF_LEFTDOWN);
  for (int step = 1; step <= 4; ++step)
    MouseTo(before.left + 150 + 10 * step, before.top + 12 + 8 * step, MOUSEEVENTF_MOVE);
  MouseTo(before.left + 190, before.top + 44, MOUSEEVENTF_LEFTUP);
  RECT after{};
  EXPECT_TRUE(WaitUntil([&] {
    GetWindowRect(main, &after);
    return after.left == before.left + 40 && after.top == before.top + 32;
  }));
}

}  // namespace
