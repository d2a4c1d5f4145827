// The main window's skin: the picture behind it, its buttons and link as the mouse moves
// over them, and the colours its labels take from the picture under them.
#include "ui/main_window_win.h"

#include <commctrl.h>

#include "commands/command_ids.h"
#include "ui/artwork_win.h"
#include "ui/histogram_view_win.h"
#include "ui/skin_win.h"

void MainWindow::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  HDC skin_dc = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(skin_dc, skin_);
  BitBlt(dc, 0, 0, ScaleToDpi(kSkinWidth, dpi_), ScaleToDpi(kSkinHeight, dpi_), skin_dc, 0, 0,
         SRCCOPY);
  SelectObject(skin_dc, old);
  DeleteDC(skin_dc);
  EndPaint(hwnd_, &ps);
}

LRESULT CALLBACK MainWindow::ButtonProc(HWND button, UINT msg, WPARAM wparam, LPARAM lparam,
                                        UINT_PTR key, DWORD_PTR self) {
  return reinterpret_cast<MainWindow*>(self)->OnButtonMessage(button, msg, wparam, lparam,
                                                              static_cast<int>(key));
}

// The buttons sound and light up under the mouse; the Keep button, drawn by us, keeps
// its toggle state for whoever asks it as a check box would.
LRESULT MainWindow::OnButtonMessage(HWND button, UINT msg, WPARAM wparam, LPARAM lparam, int key) {
  const int id = GetDlgCtrlID(button);
  switch (msg) {
    case WM_MOUSEMOVE:
      controller_.Sounds().Hover(key);
      if (hot_button_ != id) {
        hot_button_ = id;
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, button, 0};
        TrackMouseEvent(&track);
        InvalidateRect(button, nullptr, FALSE);
      }
      break;
    case WM_MOUSELEAVE:
      controller_.Sounds().ClearHover();
      hot_button_ = 0;
      InvalidateRect(button, nullptr, FALSE);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      controller_.Sounds().PressSound();
      break;
    case BM_GETCHECK:
      if (id == IDC_BTNKEEP)
        return keep_down_ ? BST_CHECKED : BST_UNCHECKED;
      break;
    case BM_SETCHECK:
      if (id == IDC_BTNKEEP) {
        keep_down_ = wparam == BST_CHECKED;
        InvalidateRect(button, nullptr, FALSE);
        return 0;
      }
      break;
  }
  return DefSubclassProc(button, msg, wparam, lparam);
}

// The home-page link turns red and underlined under the mouse, with a hand cursor.
LRESULT CALLBACK MainWindow::LinkProc(HWND link, UINT msg, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                      DWORD_PTR self) {
  auto* window = reinterpret_cast<MainWindow*>(self);
  switch (msg) {
    case WM_SETCURSOR:
      SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
      return TRUE;
    case WM_MOUSEMOVE:
      if (!window->link_hot_) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, link, 0};
        TrackMouseEvent(&track);
        window->OnLinkMouse(true);
      }
      break;
    case WM_MOUSELEAVE:
      window->OnLinkMouse(false);
      break;
  }
  return DefSubclassProc(link, msg, wparam, lparam);
}

void MainWindow::OnLinkMouse(bool over) {
  link_hot_ = over;
  HWND link = GetDlgItem(hwnd_, IDC_LBLHOMEURL);
  SendMessageA(link, WM_SETFONT, reinterpret_cast<WPARAM>(over ? link_hot_font_ : link_font_),
               TRUE);
}

HBRUSH MainWindow::SkinBrush(uint32_t color) {
  HBRUSH& brush = brushes_[color];
  if (!brush)
    brush = CreateSolidBrush(SkinRgb(color));
  return brush;
}

// Labels take the colour of the skin under them, so they look drawn on it.
LRESULT MainWindow::OnColorStatic(HDC dc, HWND control) {
  const int id = GetDlgCtrlID(control);
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&rect), 2);
  const uint32_t under =
      SkinColorAt(MulDiv(rect.left + 1, 96, dpi_), MulDiv(rect.top + 1, 96, dpi_));
  SetBkColor(dc, SkinRgb(under));
  SetTextColor(dc, SkinRgb(skin_color::kText));
  if (id == IDC_LBLSTATUS)
    SetTextColor(dc, status_color_);
  if (id == IDC_LBLONLINE)
    SetTextColor(dc, online_color_);
  if (id == IDC_LBLMAINFORMCAPTION)
    SetTextColor(dc, SkinRgb(skin_color::kTitleText));
  if (id == IDC_LBLHOMEURL)
    SetTextColor(dc, link_hot_ ? RGB(255, 0, 0) : link_visited_ ? RGB(0, 0, 128) : RGB(0, 0, 255));
  return reinterpret_cast<LRESULT>(SkinBrush(under));
}

void MainWindow::DrawButton(const DRAWITEMSTRUCT& item) {
  for (const auto& buttons : {SpeedButtons(), ViewButtons()}) {
    for (const SkinButton& b : buttons) {
      if (b.Id != static_cast<int>(item.CtlID))
        continue;
      const LRESULT ui = SendMessageA(item.hwndItem, WM_QUERYUISTATE, 0, 0);
      ButtonLook look;
      look.Hot = hot_button_ == b.Id;
      look.Down = (item.itemState & ODS_SELECTED) || (b.Id == IDC_BTNKEEP && keep_down_);
      look.Disabled = item.itemState & ODS_DISABLED;
      look.Focused = (item.itemState & ODS_FOCUS) && !(ui & UISF_HIDEFOCUS);
      look.Prefix = !(ui & UISF_HIDEACCEL);
      DrawSkinButton(item.hDC, item.rcItem, b, look, ui_font_, dpi_);
    }
  }
}

void MainWindow::DrawHistogramBox(const DRAWITEMSTRUCT& item) {
  PaintHistogram(item.hDC, item.rcItem, bars_, SkinRgb(skin_color::kCard), dpi_);
}
