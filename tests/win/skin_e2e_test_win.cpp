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
#include "screenshot_win.h"
#include "ui/artwork_win.h"
#include "commands/command_ids.h"
#include "ui/skin_win.h"

namespace {

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
  EXPECT_TRUE(Save(Capture(welcome), "welcome"));

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
  EXPECT_TRUE(Save(offline, "main-window-offline"));
  EXPECT_EQ(PixelsOffTheSkin(main, offline), 0);

  app.Click(IDC_BTNDIAL);
  ASSERT_TRUE(WaitUntil([&] { return app.Text(IDC_LBLONLINE) == "Online"; }));
  Sleep(2500);  // a few seconds of read-outs and histogram
  const Pixels online = Capture(main);
  EXPECT_TRUE(Save(online, "main-window-online"));
  EXPECT_EQ(PixelsOffTheSkin(main, online), 0);

  app.Command(IDM_ABOUT1);
  Hwnd about = app.WaitForTopLevel("About");
  ASSERT_NE(about, nullptr);
  Sleep(500);
  EXPECT_TRUE(Save(Capture(about), "about"));
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
