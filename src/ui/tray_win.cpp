// The notification-area icon.
#include "ui/tray_win.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>

namespace {

constexpr UINT kIconId = 1;

// A small screen on a stand; its face is grey offline and green online. Drawn here so
// that no binary artwork has to be kept.
HICON DrawTrayIcon(COLORREF face) {
  const int size = 16;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP colour = CreateCompatibleBitmap(screen, size, size);
  ReleaseDC(nullptr, screen);
  HBITMAP mask = CreateBitmap(size, size, 1, 1, nullptr);
  const RECT all{0, 0, size, size};
  const RECT parts[] = {{1, 2, 15, 12}, {6, 12, 10, 14}, {3, 14, 13, 15}};

  // The mask: white is transparent, black shows the colour bitmap.
  HGDIOBJ old = SelectObject(dc, mask);
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  for (const RECT& part : parts)
    FillRect(dc, &part, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));

  SelectObject(dc, colour);
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  for (const RECT& part : parts)
    FillRect(dc, &part, static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH)));
  HBRUSH face_brush = CreateSolidBrush(face);
  const RECT face_rect{3, 4, 13, 10};
  FillRect(dc, &face_rect, face_brush);
  DeleteObject(face_brush);
  SelectObject(dc, old);
  DeleteDC(dc);

  ICONINFO info{TRUE, 0, 0, mask, colour};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(mask);
  DeleteObject(colour);
  return icon;
}

}  // namespace

TrayNotifyIcon::TrayNotifyIcon(HWND owner, unsigned message)
    : owner_(owner),
      message_(message),
      icons_{DrawTrayIcon(RGB(160, 160, 160)), DrawTrayIcon(RGB(51, 170, 51))} {}

TrayNotifyIcon::~TrayNotifyIcon() {
  Remove();
  for (HICON icon : icons_)
    DestroyIcon(icon);
}

void TrayNotifyIcon::Show(int icon_index, const std::string& hint) {
  index_ = std::clamp(icon_index, 0, 1);
  hint_ = hint;
  if (!added_ || !Notify(NIM_MODIFY))
    Restore();
}

void TrayNotifyIcon::Restore() {
  added_ = Notify(NIM_ADD);
}

void TrayNotifyIcon::Remove() {
  if (added_)
    Notify(NIM_DELETE);
  added_ = false;
}

bool TrayNotifyIcon::Notify(unsigned long action) {
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof(data);
  data.hWnd = owner_;
  data.uID = kIconId;
  data.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
  data.uCallbackMessage = message_;
  data.hIcon = icons_[index_];
  lstrcpynA(data.szTip, hint_.c_str(), sizeof(data.szTip));
  return Shell_NotifyIconA(action, &data);
}
