// End to end: the read-outs and the histogram while online, copying a read-out, and the
// window going to the tray and coming back from it.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>

#include "driver.h"
#include "commands/command_ids.h"

namespace {

constexpr COLORREF kEmptyCell = RGB(37, 80, 138);

// The colour on the screen at (x, y) of the window's client area.
COLORREF ScreenPixel(Hwnd window, int x, int y) {
  POINT at{x, y};
  ClientToScreen(static_cast<HWND>(window), &at);
  HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, at.x, at.y);
  ReleaseDC(nullptr, screen);
  return colour;
}

// Whether the shell holds an icon of the window (the program's icon has id 1).
bool HasTrayIcon(Hwnd window) {
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof(data);
  data.hWnd = static_cast<HWND>(window);
  data.uID = 1;
  return Shell_NotifyIconA(NIM_MODIFY, &data);
}

class ReadoutsTrayE2E : public ::testing::Test {
 protected:
  void StartOnline() {
    ASSERT_TRUE(app_.StartWith("[Home]\nStepDelayMs=10\nServerIP=127.0.2.1\nClientIP=127.0.2.9\n"));
    app_.Click(IDC_BTNDIAL);
    ASSERT_TRUE(WaitUntil([&] { return app_.Text(IDC_LBLONLINE) == "Online"; }));
  }

  Tarvolin app_;
};

TEST_F(ReadoutsTrayE2E, OnlineTheReadoutsMoveEachSecondAndTheHistogramShowsBars) {
  StartOnline();
  app_.Click(IDC_BTNVIEWSPEED);
  ASSERT_TRUE(WaitUntil([&] { return app_.Text(IDC_LBLINFO1CAPTION) == "Bytes Received"; }));
  ASSERT_TRUE(WaitUntil([&] { return app_.Text(IDC_LBLINFO1) != "0"; }));
  const std::string received = app_.Text(IDC_LBLINFO1);
  EXPECT_TRUE(WaitUntil([&] { return app_.Text(IDC_LBLINFO1) != received; }));

  // The bottom row of one of the newest bars is lit: neither empty nor background.
  const Hwnd box = app_.Control(IDC_HISRECV);
  const COLORREF background = ScreenPixel(box, 3, 20);  // a gap between bars
  EXPECT_TRUE(WaitUntil([&] {
    for (int bar = 0; bar < 4; ++bar) {
      const COLORREF cell = ScreenPixel(box, bar * 4 + 1, 20);
      if (cell != kEmptyCell && cell != background)
        return true;
    }
    return false;
  })) << std::hex
      << ScreenPixel(box, 1, 20);
}

TEST_F(ReadoutsTrayE2E, CopyPutsTheReadoutOnTheClipboard) {
  StartOnline();
  app_.Click(IDC_BTNVIEWIP);
  ASSERT_TRUE(WaitUntil([&] { return app_.Text(IDC_LBLINFO2) == "127.0.2.9"; }));
  // The read-out's context menu, then its only item, chosen from the keyboard.
  app_.PostToMain(WM_CONTEXTMENU, reinterpret_cast<uintptr_t>(app_.Control(IDC_LBLINFO2)),
                  MAKELPARAM(300, 300));
  app_.PostToMain(WM_KEYDOWN, VK_DOWN, 0);
  app_.PostToMain(WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(WaitUntil([] { return ClipboardText() == "127.0.2.9\r\n"; })) << ClipboardText();
}

TEST_F(ReadoutsTrayE2E, ClosingHidesToTheTrayWhoseShowCommandAndIconBringItBack) {
  ASSERT_TRUE(app_.StartWith("[Home]\nStepDelayMs=10\n"));
  const Hwnd main = app_.MainWindow();
  ASSERT_TRUE(WaitUntil([&] { return HasTrayIcon(main); }));

  app_.PostToMain(WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !app_.MainWindowVisible(); }));
  app_.Command(IDM_SHOWHIDEMAINFORM1);
  ASSERT_TRUE(WaitUntil([&] { return app_.MainWindowVisible(); }));

  // A click on the icon hides the window, the next shows it.
  app_.PostToMain(kTrayNotifyMessage, 1, WM_LBUTTONUP);
  ASSERT_TRUE(WaitUntil([&] { return !app_.MainWindowVisible(); }));
  app_.PostToMain(kTrayNotifyMessage, 1, WM_LBUTTONUP);
  ASSERT_TRUE(WaitUntil([&] { return app_.MainWindowVisible(); }));

  // Exit takes the icon away.
  app_.Command(IDM_EXIT2);
  ASSERT_TRUE(app_.WaitForExit());
  EXPECT_FALSE(HasTrayIcon(main));
}

TEST_F(ReadoutsTrayE2E, TheIconComesBackWhenTheShellStartsAgain) {
  ASSERT_TRUE(app_.StartWith("[Home]\nStepDelayMs=10\n"));
  const Hwnd main = app_.MainWindow();
  ASSERT_TRUE(WaitUntil([&] { return HasTrayIcon(main); }));
  // A new shell knows no icon, and tells every top-level window that it started.
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof(data);
  data.hWnd = static_cast<HWND>(main);
  data.uID = 1;
  ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));
  ASSERT_FALSE(HasTrayIcon(main));
  // Sent, so the icon is back when the window has handled it, not at its next tick.
  DWORD_PTR result = 0;
  ASSERT_TRUE(SendMessageTimeoutA(static_cast<HWND>(main), RegisterWindowMessageA("TaskbarCreated"),
                                  0, 0, SMTO_BLOCK, kWaitCeilingMs, &result));
  EXPECT_TRUE(HasTrayIcon(main));
}

}  // namespace
