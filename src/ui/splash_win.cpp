// The welcome window TFlashFrm: borderless, 400 x 300, centred, up for at least 3 s.
#include <windows.h>

#include "tarvolin_version.h"
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
  // A plain vertical blend from deep blue to sky blue, with the name and version.
  for (int y = 0; y < kHeight; ++y) {
    RECT band{0, y, kWidth, y + 1};
    HBRUSH brush = CreateSolidBrush(RGB(20 + y / 6, 50 + y / 3, 110 + y / 3));
    FillRect(dc, &band, brush);
    DeleteObject(brush);
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  HFONT big = CreateFontA(-44, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                          "Times New Roman");
  HGDIOBJ old = SelectObject(dc, big);
  RECT title{0, 90, kWidth, 150};
  DrawTextA(dc, kAppNameAndVersion, -1, &title, DT_CENTER | DT_SINGLELINE);
  SelectObject(dc, old);
  DeleteObject(big);
  RECT line{0, 160, kWidth, 190};
  DrawTextA(dc, "Dial-up connection manager", -1, &line, DT_CENTER | DT_SINGLELINE);
  RECT wait{0, 250, kWidth, 280};
  DrawTextA(dc, "Starting...", -1, &wait, DT_CENTER | DT_SINGLELINE);
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
  const int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
  HWND splash = CreateWindowExA(WS_EX_TOOLWINDOW, kSplashClass, "Welcome", WS_POPUP, x, y, kWidth,
                                kHeight, nullptr, nullptr, wc.hInstance, nullptr);
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
