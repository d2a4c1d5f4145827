// The main window's placement: its controls made at 100% and placed for the display's
// scaling, its fonts, and the window's position and z-order.
#include "ui/main_window_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include "commands/command_ids.h"
#include "display/help.h"
#include "display/placement.h"
#include "tarvolin_version.h"
#include "ui/artwork_win.h"
#include "ui/connection_list_view.h"
#include "ui/skin_win.h"

namespace {

struct LabelSpec {
  int Id;
  int Left, Top, Width, Height;
  const char* Caption;
  DWORD Style;
};

constexpr LabelSpec kLabels[] = {
    {IDC_LBLMAINFORMCAPTION, 196, 8, 102, 17, kAppNameAndVersion, SS_CENTER},
    {IDC_LBLINFO1CAPTION, 126, 268, 100, 14, "Time", SS_LEFT},
    {IDC_LBLINFO2CAPTION, 230, 268, 100, 14, "Today", SS_LEFT},
    {IDC_LBLINFO3CAPTION, 334, 268, 100, 14, "Since Billing Day", SS_LEFT},
    {IDC_LBLINFO1, 126, 284, 100, 18, "0:00:00", SS_LEFT | SS_NOTIFY | SS_CENTERIMAGE},
    {IDC_LBLINFO2, 230, 284, 100, 18, "0:00:00", SS_LEFT | SS_NOTIFY | SS_CENTERIMAGE},
    {IDC_LBLINFO3, 334, 284, 100, 18, "0:00:00", SS_LEFT | SS_NOTIFY | SS_CENTERIMAGE},
    {IDC_HISRECV, 286, 318, 148, 21, "Data exchange", SS_OWNERDRAW},
    {IDC_LBLONLINE, 14, 322, 100, 16, "Offline", SS_LEFT},
    {IDC_LBLSTATUS, 9, 354, 482, 18, "", SS_LEFT | SS_ENDELLIPSIS},
    {IDC_LBLHOMEURL, 14, 302, 104, 15, "", SS_LEFT | SS_NOTIFY},
};

}  // namespace

POINT MainWindow::LogicalPoint(LPARAM lparam, bool screen) const {
  POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
  if (screen)
    ScreenToClient(hwnd_, &at);
  return {MulDiv(at.x, 96, dpi_), MulDiv(at.y, 96, dpi_)};
}

void MainWindow::OnDpiChanged(int dpi, const RECT& suggested) {
  dpi_ = dpi;
  DeleteObject(skin_);
  skin_ = CreateSkinBitmap(dpi_);
  for (HFONT font : {ui_font_, caption_font_, link_font_, link_hot_font_})
    DeleteObject(font);
  CreateFonts();
  for (const Placed& p : placed_) {
    const int id = GetDlgCtrlID(p.Window);
    const HFONT font = id == IDC_LBLMAINFORMCAPTION ? caption_font_
                       : id == IDC_LBLHOMEURL       ? link_font_
                                                    : ui_font_;
    SendMessageA(p.Window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  Relayout();
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void MainWindow::Relayout() {
  for (const Placed& p : placed_) {
    SetWindowPos(p.Window, nullptr, ScaleToDpi(p.Left, dpi_), ScaleToDpi(p.Top, dpi_),
                 ScaleToDpi(p.Width, dpi_), ScaleToDpi(p.Height, dpi_),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// Fonts in device pixels of the window's display.
void MainWindow::CreateFonts() {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  metrics.lfMessageFont.lfHeight =
      MulDiv(metrics.lfMessageFont.lfHeight, dpi_, static_cast<int>(GetDpiForSystem()));
  ui_font_ = CreateFontIndirectA(&metrics.lfMessageFont);
  auto times = [this](int pixels, int weight, bool underline) {
    return CreateFontA(-ScaleToDpi(pixels, dpi_), 0, 0, 0, weight, FALSE, underline, FALSE,
                       DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0, "Times New Roman");
  };
  caption_font_ = times(15, FW_BOLD, false);
  link_font_ = times(13, FW_NORMAL, false);
  link_hot_font_ = times(13, FW_NORMAL, true);
}

HWND MainWindow::AddControl(const char* cls, const char* caption, DWORD style, int id, int x, int y,
                            int w, int h) {
  HWND control = CreateWindowExA(0, cls, caption, WS_CHILD | WS_VISIBLE | style, x, y, w, h, hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleA(nullptr), nullptr);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(ui_font_), FALSE);
  placed_.push_back({control, x, y, w, h});
  return control;
}

void MainWindow::AddHint(HWND control, const char* hint) {
  TOOLINFOA info{};
  info.cbSize = sizeof(info);
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = hwnd_;
  info.uId = reinterpret_cast<UINT_PTR>(control);
  info.lpszText = const_cast<char*>(hint);
  SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

// Controls are made at 100% and then placed for the display's scaling.
void MainWindow::CreateControls() {
  tooltip_ = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                             hwnd_, nullptr, GetModuleHandleA(nullptr), nullptr);
  for (const auto& buttons : {SpeedButtons(), ViewButtons()}) {
    for (const SkinButton& b : buttons) {
      HWND button = AddControl("BUTTON", b.Caption, WS_TABSTOP | BS_OWNERDRAW, b.Id, b.Left, b.Top,
                               b.Width, b.Height);
      SetWindowSubclass(button, ButtonProc, b.HoverKey, reinterpret_cast<DWORD_PTR>(this));
      AddHint(button, b.Hint);
    }
  }
  for (const auto& l : kLabels) {
    HWND label = AddControl("STATIC", l.Caption, l.Style, l.Id, l.Left, l.Top, l.Width, l.Height);
    if (l.Id == IDC_HISRECV)
      AddHint(label, "Data exchange");
    if (l.Id == IDC_LBLINFO3)
      AddHint(label, "");  // ShowBillingHint fills it
  }
  SendDlgItemMessageA(hwnd_, IDC_LBLMAINFORMCAPTION, WM_SETFONT,
                      reinterpret_cast<WPARAM>(caption_font_), FALSE);
  HWND link = GetDlgItem(hwnd_, IDC_LBLHOMEURL);
  SetWindowTextA(link, LinkCaption(kHomePage).c_str());
  SendMessageA(link, WM_SETFONT, reinterpret_cast<WPARAM>(link_font_), FALSE);
  SetWindowSubclass(link, LinkProc, 0, reinterpret_cast<DWORD_PTR>(this));

  list_ = static_cast<HWND>(CreateConnectionList(hwnd_, IDC_CNLIST, ui_font_));
  placed_.push_back({list_, 9, 100, 426, 160});
  Relayout();
}

void MainWindow::ApplyWindowSettings(const std::string& title, const std::string& caption_label,
                                     int left, int top) {
  SetWindowTextA(hwnd_, title.c_str());
  SetDlgItemTextA(hwnd_, IDC_LBLMAINFORMCAPTION, caption_label.c_str());
  SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  KeepOnScreen();
}

// Minimised, the window stands far off screen; the position to keep is the one it will
// be restored to, which the system holds in coordinates of the work area.
void MainWindow::WindowPosition(int& left, int& top) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  RECT rect;
  if (IsIconic(hwnd_) && GetWindowPlacement(hwnd_, &placement)) {
    rect = placement.rcNormalPosition;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoA(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &monitor);
    OffsetRect(&rect, monitor.rcWork.left - monitor.rcMonitor.left,
               monitor.rcWork.top - monitor.rcMonitor.top);
  } else if (!GetWindowRect(hwnd_, &rect)) {
    return;
  }
  left = rect.left;
  top = rect.top;
}

namespace {

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (GetMonitorInfoA(monitor, &info)) {
    const RECT& work = info.rcWork;
    reinterpret_cast<std::vector<ScreenRect>*>(areas)->push_back(
        {work.left, work.top, work.right, work.bottom});
  }
  return TRUE;
}

}  // namespace

// A borderless window is moved by its title strip only, so that strip must stay on a
// monitor: after a start from a saved position and whenever the monitors change.
void MainWindow::KeepOnScreen() {
  RECT rect;
  if (IsIconic(hwnd_) || !GetWindowRect(hwnd_, &rect))
    return;
  std::vector<ScreenRect> areas;
  EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&areas));
  const ScreenPoint at =
      PlaceOnScreen({rect.left, rect.top, rect.right, rect.bottom}, areas,
                    ScaleToDpi(kTitleStripHeight, dpi_), ScaleToDpi(kTitleStripGrip, dpi_));
  if (at.X != rect.left || at.Y != rect.top)
    SetWindowPos(hwnd_, nullptr, at.X, at.Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::SetAlwaysOnTop(bool on) {
  const bool topmost = GetWindowLongA(hwnd_, GWL_EXSTYLE) & WS_EX_TOPMOST;
  if (topmost != on) {
    SetWindowPos(hwnd_, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void MainWindow::BringToFront() {
  if (IsIconic(hwnd_))
    ShowWindow(hwnd_, SW_RESTORE);
  SetForegroundWindow(hwnd_);
}
