// The notification-area icon.
#include "ui/tray_win.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "ui/artwork_win.h"

namespace {

constexpr UINT kIconId = 1;

}  // namespace

TrayNotifyIcon::TrayNotifyIcon(HWND owner, unsigned message)
    : owner_(owner),
      message_(message),
      icons_{CreateStateIcon(false, GetSystemMetrics(SM_CXSMICON)),
             CreateStateIcon(true, GetSystemMetrics(SM_CXSMICON))} {}

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

void TrayNotifyIcon::Balloon(const std::string& text) {
  if (!added_)
    return;
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof(data);
  data.hWnd = owner_;
  data.uID = kIconId;
  data.uFlags = NIF_INFO;
  lstrcpynA(data.szInfo, text.c_str(), sizeof(data.szInfo));
  lstrcpynA(data.szInfoTitle, "Tarvolin", sizeof(data.szInfoTitle));
  data.dwInfoFlags = NIIF_WARNING;
  Shell_NotifyIconA(NIM_MODIFY, &data);
}
