// The welcome window TFlashFrm: borderless, 400 x 300, centred, up for at least 3 s.
#define WINVER 0x0A00
#define _WIN32_WINNT 0x0A00
#include <windows.h>

#include "ui/artwork_win.h"
#include "ui/splash.h"

namespace {

constexpr const char* kSplashClass = "TFlashFrm";
constexpr UINT_PTR kFlashTimer = 1;
constexpr UINT kFlashInterval = 3000;
constexpr int kWidth = 400;
constexpr int kHeight = 300;

bool g_flash_timer_fired = false;

void PaintArtwork(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT rect;
  GetClientRect(hwnd, &rect);
  PaintWelcomePicture(dc, rect, static_cast<int>(GetDpiForWindow(hwnd)));
  EndPaint(hwnd, &ps);
}

LRESULT CALLBACK SplashProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_PAINT:
      PaintArtwork(hwnd);
      return 0;
    case WM_TIMER:
      if (wparam == kFlashTimer) {
        KillTimer(hwnd, kFlashTimer);  // FlashTimerTimer: once is enough
        g_flash_timer_fired = true;
      }
      return 0;
    case WM_SETCURSOR:
      SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
      return TRUE;
  }
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

}  // namespace

void* ShowSplash(const std::function<bool()>& check_password) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = SplashProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kSplashClass;
  RegisterClassA(&wc);
  const int dpi = static_cast<int>(GetDpiForSystem());
  const int width = ScaleToDpi(kWidth, dpi);
  const int height = ScaleToDpi(kHeight, dpi);
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  HWND splash = CreateWindowExA(WS_EX_TOOLWINDOW, kSplashClass, "Welcome", WS_POPUP, x, y, width,
                                height, nullptr, nullptr, wc.hInstance, nullptr);
  if (!check_password()) {
    DestroyWindow(splash);
    return nullptr;
  }
  SetTimer(splash, kFlashTimer, kFlashInterval, nullptr);
  ShowWindow(splash, SW_SHOW);
  UpdateWindow(splash);
  MSG msg;
  while (!g_flash_timer_fired && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return splash;
}

void HideSplash(void* splash) {
  ShowWindow(static_cast<HWND>(splash), SW_HIDE);
  DestroyWindow(static_cast<HWND>(splash));
}
