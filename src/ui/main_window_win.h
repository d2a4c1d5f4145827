// The main window's class, shared by its three files: the window procedure and commands
// (main_window_win.cpp), the skin's painting (main_window_paint_win.cpp) and the
// placement of the window and its controls at the display's scaling
// (main_window_layout_win.cpp).
#pragma once

#define WINVER 0x0A00
#define _WIN32_WINNT 0x0A00
#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "actions/action_dialogs.h"
#include "display/skin.h"
#include "profiles/property_dialog.h"
#include "schedule/schedule_dialogs.h"
#include "settings/hotkey_dialog.h"
#include "settings/options_dialog.h"
#include "ui/about_dialog.h"
#include "ui/main_window.h"
#include "ui/tray_win.h"
#include "ui/usage_window_win.h"

// A child window and where it lies at 100% scaling, to place it again at another.
struct Placed {
  HWND Window;
  int Left, Top, Width, Height;
};

class MainWindow : public MainView {
 public:
  MainWindow(const MainPorts& ports, const std::vector<std::string>& args)
      : ports_(ports), controller_(ports, *this, args) {}

  void Create();
  Tmainform& Controller() { return controller_; }

  // MainView
  void ApplyWindowSettings(const std::string& title, const std::string& caption_label, int left,
                           int top) override;
  void SetStatus(const std::string& text, uint32_t color) override;
  void SetOnlineLabel(const std::string& text, uint32_t color) override;
  void ShowConnections(const std::vector<ConnectionRow>& rows) override;
  void MarkSelectedConnection(int index) override;
  std::optional<EntryInfo> ShowPropertyDialog(const PropertyDialogInput& input) override {
    return ::ShowPropertyDialog(hwnd_, input);
  }
  void ShowKeepConnection(bool on) override;
  void ShowReadouts(const std::array<std::string, 3>& captions,
                    const ReadoutValues& values) override;
  std::string ReadoutText(int index) override;
  void ShowBillingHint(const std::string& hint) override;
  void ShowHistogram(const HistogramBars& bars) override;
  void ShowTrayIcon(int icon_index, const std::string& hint) override;
  void ShowTrayBalloon(const std::string& text) override;
  void WindowPosition(int& left, int& top) override;
  void HideMainForm() override { ShowWindow(hwnd_, SW_HIDE); }
  void ShowMainForm() override { ShowWindow(hwnd_, SW_SHOWNORMAL); }
  void BringToFront() override;
  void Close() override { PostMessageA(hwnd_, WM_CLOSE, 0, 0); }
  void* Handle() override { return hwnd_; }
  void ShowAbout() override { ShowAboutBox(hwnd_); }
  void ShowHelpPopup() override;
  std::optional<HotKeyChoices> EditHotKeys(const HotKeyChoices& choices) override {
    return ShowHotKeyDialog(hwnd_, choices);
  }
  bool ShowOptions(TOptionForm& form) override { return ShowOptionsDialog(hwnd_, form); }
  void SetAlwaysOnTop(bool on) override;
  std::optional<ScheduleListResult> ShowScheduleList(const ScheduleListModel& model) override {
    return ShowScheduleListDialog(hwnd_, model);
  }
  bool ShowActionList(ActionListModel& model) override {
    return ShowActionListDialog(hwnd_, model);
  }
  void ShowUsage(UsageModel model, const UsageFiles& files) override;
  void UsageChanged() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK ButtonProc(HWND button, UINT msg, WPARAM wparam, LPARAM lparam,
                                     UINT_PTR key, DWORD_PTR self);
  static LRESULT CALLBACK LinkProc(HWND link, UINT msg, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                   DWORD_PTR self);
  LRESULT OnButtonMessage(HWND button, UINT msg, WPARAM wparam, LPARAM lparam, int key);
  void OnLinkMouse(bool over);
  POINT LogicalPoint(LPARAM screen_or_client, bool screen) const;
  void OnMouseMove(POINT at);
  void OnHotSpotClick(TitleButton button);
  void OnHotSpotDoubleClick(TitleButton button);
  void ShowSysMenu();
  void Paint();
  void OnDpiChanged(int dpi, const RECT& suggested);
  void Relayout();
  void KeepOnScreen();
  void DrawButton(const DRAWITEMSTRUCT& item);
  HBRUSH SkinBrush(uint32_t color);
  LRESULT HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam);
  void CreateControls();
  HWND AddControl(const char* cls, const char* caption, DWORD style, int id, int x, int y, int w,
                  int h);
  void AddHint(HWND control, const char* hint);
  void CreateFonts();
  void ShowPopup(HMENU menu, int x, int y);
  void OnContextMenu(HWND from, int x, int y);
  void OnTrayNotify(UINT mouse_message);
  void OnCommand(int id);
  void OnInitMenuPopup(HMENU menu);
  void EnableButtons();
  void OnNotify(const NMHDR& header);
  LRESULT OnColorStatic(HDC dc, HWND control);
  void DrawHistogramBox(const DRAWITEMSTRUCT& item);

  MainPorts ports_;
  Tmainform controller_;
  HWND hwnd_ = nullptr;
  std::unique_ptr<UsageWindow> usage_;
  HWND tooltip_ = nullptr;
  std::string billing_hint_;  // the tooltip points into it
  HMENU sys_menu_ = nullptr;
  HMENU list_menu_ = nullptr;
  HMENU tray_menu_ = nullptr;
  HMENU copy_menu_ = nullptr;
  std::unique_ptr<TrayNotifyIcon> tray_icon_;
  UINT taskbar_created_ = 0;
  HistogramBars bars_{};
  HWND list_ = nullptr;
  HMENU help_menu_ = nullptr;
  HFONT ui_font_ = nullptr;
  HFONT caption_font_ = nullptr;
  HFONT link_font_ = nullptr;
  HFONT link_hot_font_ = nullptr;
  int dpi_ = 96;
  HBITMAP skin_ = nullptr;
  std::vector<Placed> placed_;
  std::map<uint32_t, HBRUSH> brushes_;
  int hot_button_ = 0;  // the control id of the button under the mouse
  bool keep_down_ = false;
  std::optional<TitleButton> pressed_spot_;
  bool link_hot_ = false;
  bool link_visited_ = false;
  COLORREF status_color_ = 0;
  COLORREF online_color_ = 0;
};
