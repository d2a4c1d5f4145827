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

// The count of pixels outside the rectangles `covered` that differ from `expected`.
int PixelsOff(const Pixels& shown, const Pixels& expected, const std::vector<RECT>& covered) {
  if (shown.Width != expected.Width || shown.Height != expected.Height)
    return shown.Width * shown.Height;
  int off = 0;
  for (int y = 0; y < expected.Height; ++y) {
    for (int x = 0; x < expected.Width; ++x) {
      const POINT at{x, y};
      bool hidden = false;
      for (const RECT& r : covered)
        hidden = hidden || PtInRect(&r, at);
      if (!hidden && (shown.At(x, y) & 0xFFFFFF) != (expected.At(x, y) & 0xFFFFFF))
        ++off;
    }
  }
  return off;
}

// A picture of the program's, as it paints it at 100% scaling.
Pixels Picture(void (*paint)(HDC, const RECT&, int), int width, int height) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(dc, bitmap);
  paint(dc, {0, 0, width, height}, 96);
  SelectObject(dc, old);
  const Pixels pixels = ReadBitmap(dc, bitmap, width, height);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return pixels;
}

Pixels SkinPicture() {
  HBITMAP skin = CreateSkinBitmap(96);
  HDC dc = CreateCompatibleDC(nullptr);
  const Pixels pixels = ReadBitmap(dc, skin, kSkinWidth, kSkinHeight);
  DeleteDC(dc);
  DeleteObject(skin);
  return pixels;
}

// Waits until the screen shows `expected` in the window wherever `covered` leaves it
// bare, which is also when its painting is done; returns the last capture.
Pixels WaitForPicture(Hwnd window, const Pixels& expected, const std::vector<RECT>& covered,
                      bool client_only = false) {
  Pixels shown;
  EXPECT_TRUE(WaitUntil([&] {
    shown = Capture(window, client_only);
    return PixelsOff(shown, expected, covered) == 0;
  })) << PixelsOff(shown, expected, covered)
      << " pixels off";
  return shown;
}

constexpr const char* kPhonebook =
    "[Home]\nStepDelayMs=10\nServerIP=127.0.2.1\nClientIP=127.0.2.9\n";

TEST(SkinE2E, TheWindowsShowTheirArtworkAndTheMainWindowTheSkinWhereNoControlIs) {
  Tarvolin app;
  app.WritePhonebook(kPhonebook);
  app.Start();
  Hwnd welcome = app.WaitForTopLevel("Welcome");
  ASSERT_NE(welcome, nullptr);
  // Up for three seconds at least: time enough to see it painted.
  EXPECT_TRUE(Save(WaitForPicture(welcome, Picture(PaintWelcomePicture, 400, 300), {}), "welcome"));

  Hwnd main = app.WaitForMainWindow();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(static_cast<HWND>(main)); }));
  RECT client;
  GetClientRect(static_cast<HWND>(main), &client);
  EXPECT_EQ(client.right, kSkinWidth);  // no frame: the window is all client
  EXPECT_EQ(client.bottom, kSkinHeight);
  SetForegroundWindow(static_cast<HWND>(main));
  // The skin's pixels wherever no control covers them.
  const Pixels skin = SkinPicture();
  EXPECT_TRUE(Save(WaitForPicture(main, skin, ChildRects(main)), "main-window-offline"));

  app.Click(IDC_BTNDIAL);
  ASSERT_TRUE(WaitUntil([&] { return app.Text(IDC_LBLONLINE) == "Online"; }));
  // A few seconds of read-outs and histogram.
  ASSERT_TRUE(WaitUntil([&] { return app.SessionSeconds() >= 3; }));
  EXPECT_TRUE(Save(WaitForPicture(main, skin, ChildRects(main)), "main-window-online"));

  app.Command(IDM_ABOUT1);
  Hwnd about = app.WaitForTopLevel("About");
  ASSERT_NE(about, nullptr);
  // The picture wherever the OK button leaves it bare.
  RECT ok;
  GetWindowRect(GetDlgItem(static_cast<HWND>(about), IDOK), &ok);
  MapWindowPoints(nullptr, static_cast<HWND>(about), reinterpret_cast<POINT*>(&ok), 2);
  EXPECT_TRUE(Save(WaitForPicture(about, Picture(PaintAboutPicture, 400, 300), {ok}), "about"));
  RECT about_rect;
  GetWindowRect(static_cast<HWND>(about), &about_rect);
  EXPECT_EQ(about_rect.right - about_rect.left, 400);
  EXPECT_EQ(about_rect.bottom - about_rect.top, 300);
  PostMessageA(static_cast<HWND>(about), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(static_cast<HWND>(about)); }));
}

// Each mouse event carries the place the cursor is set to before it, whenever the program
// gets to it.
void MouseTo(int x, int y, DWORD flags = 0) {
  SetCursorPos(x, y);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  if (flags)
    SendInput(1, &input, sizeof(input));
}

// Whether the window's thread is moving a window, as it does while the title strip is
// dragged.
bool Moving(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) &&
         (info.flags & GUI_INMOVESIZE) != 0;
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
  ASSERT_TRUE(WaitUntil([&] { return Moving(main); }));
  for (int step = 1; step <= 4; ++step)
    MouseTo(before.left + 150 + 10 * step, before.top + 12 + 8 * step, MOUSEEVENTF_MOVE);
  MouseTo(before.left + 190, before.top + 44, MOUSEEVENTF_LEFTUP);
  RECT after{};
  EXPECT_TRUE(WaitUntil([&] {
    GetWindowRect(main, &after);
    return after.left == before.left + 40 && after.top == before.top + 32;
  }));
  EXPECT_TRUE(WaitUntil([&] { return !Moving(main); }));
}

}  // namespace
