// The icon in the taskbar's notification area: its offline and online images, drawn
// here, its hint, and the mouse messages it sends its owner window.
#pragma once

#include <string>

// The handle types as <windows.h> declares them, so this header needs none of it.
struct HWND__;
using HWND = HWND__*;
struct HICON__;
using HICON = HICON__*;

class TrayNotifyIcon {
 public:
  // Mouse messages over the icon reach `owner` as `message`, with the mouse message in
  // lParam. Nothing shows until the first Show.
  TrayNotifyIcon(HWND owner, unsigned message);
  // Removes the icon, so no dead one stays behind in the tray.
  ~TrayNotifyIcon();
  TrayNotifyIcon(const TrayNotifyIcon&) = delete;
  TrayNotifyIcon& operator=(const TrayNotifyIcon&) = delete;

  // Image 0 (offline) or 1 (online), and the hint; adds the icon when it is not there.
  void Show(int icon_index, const std::string& hint);
  // The shell started again and has forgotten every icon: ours comes back as it was.
  void Restore();
  void Remove();
  // A balloon titled with the program's name.
  void Balloon(const std::string& text);

 private:
  bool Notify(unsigned long action);

  HWND owner_;
  unsigned message_;
  HICON icons_[2];
  int index_ = 0;
  std::string hint_ = "Tarvolin";
  bool added_ = false;
};
