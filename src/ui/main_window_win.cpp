// The main window: the skin, its controls, its popup menus, and the messages it forwards
// to the controller. No rules live here.
#define WINVER 0x0A00
#define _WIN32_WINNT 0x0A00
#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include <map>
#include <memory>

#include "actions/action_dialogs.h"
#include "profiles/property_dialog.h"
#include "schedule/schedule_dialogs.h"
#include "settings/hotkey_dialog.h"
#include "settings/options_dialog.h"
#include "tarvolin_version.h"
#include "ui/about_dialog.h"
#include "ui/artwork_win.h"
#include "ui/command_ids.h"
#include "ui/commands.h"
#include "ui/connection_list_view.h"
#include "ui/histogram_view_win.h"
#include "ui/main_menu.h"
#include "ui/main_window.h"
#include "ui/skin_win.h"
#include "ui/tray_win.h"

namespace {

constexpr const char* kMainClass = "TTarvolinMainForm";
constexpr UINT_PTR kSysMenuTimer = 1;

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

// A child window and where it lies at 100% scaling, to place it again at another.
struct Placed {
  HWND Window;
  int Left, Top, Width, Height;
};

class MainWindow : public MainView {
 public:
  MainWindow(const MainPorts& ports, const std::vector<std::string>& args)
      : controller_(ports, *this, args) {}

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
  void ShowHistogram(const HistogramBars& bars) override;
  void ShowTrayIcon(int icon_index, const std::string& hint) override;
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

  Tmainform controller_;
  HWND hwnd_ = nullptr;
  HWND tooltip_ = nullptr;
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

HMENU BuildMenu(const std::vector<MenuItemSpec>& items) {
  HMENU menu = CreatePopupMenu();
  for (const auto& item : items) {
    if (!item.Caption) {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    } else if (!item.Items.empty()) {
      AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(BuildMenu(item.Items)), item.Caption);
    } else {
      AppendMenuA(menu, MF_STRING, item.Command, item.Caption);
    }
  }
  return menu;
}

void MainWindow::Create() {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = nullptr;  // the skin paints every pixel
  wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  wc.lpszClassName = kMainClass;
  RegisterClassExA(&wc);

  // No frame: the skin draws one, and the title strip answers as the caption.
  const DWORD style = WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  const int dpi = static_cast<int>(GetDpiForSystem());
  CreateWindowExA(WS_EX_APPWINDOW, kMainClass, "Tarvolin", style, CW_USEDEFAULT, CW_USEDEFAULT,
                  ScaleToDpi(kSkinWidth, dpi), ScaleToDpi(kSkinHeight, dpi), nullptr, nullptr,
                  wc.hInstance, this);
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self)
    return DefWindowProcA(hwnd, msg, wparam, lparam);
  try {
    return self->HandleMessage(msg, wparam, lparam);
  } catch (const std::exception& e) {
    // Nothing may unwind through the system's code: report and carry on.
    MessageBoxA(hwnd, e.what(), "Error", MB_OK | MB_ICONERROR);
    return 0;
  }
}

LRESULT MainWindow::HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_CREATE:
      dpi_ = static_cast<int>(GetDpiForWindow(hwnd_));
      skin_ = CreateSkinBitmap(dpi_);
      CreateFonts();
      CreateControls();
      sys_menu_ = BuildMenu(SysMenuItems());
      list_menu_ = BuildMenu(CnListPopItems());
      tray_menu_ = BuildMenu(TrayPopItems());
      copy_menu_ = BuildMenu(CopyPopItems());
      help_menu_ = BuildMenu(HelpPopItems());
      tray_icon_ = std::make_unique<TrayNotifyIcon>(hwnd_, kTrayNotifyMessage);
      taskbar_created_ = RegisterWindowMessageA("TaskbarCreated");
      EnableButtons();
      return 0;
    case WM_NCHITTEST: {
      const POINT at = LogicalPoint(lparam, true);
      return HitTest(at.x, at.y) == HitArea::Caption ? HTCAPTION : HTCLIENT;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(LogicalPoint(lparam, false));
      return 0;
    case WM_LBUTTONDOWN: {
      const POINT at = LogicalPoint(lparam, false);
      const auto spot = HotSpotAt(at.x, at.y);
      pressed_spot_ = spot ? std::optional(spot->Button) : std::nullopt;
      return 0;
    }
    case WM_LBUTTONUP: {
      const POINT at = LogicalPoint(lparam, false);
      const auto spot = HotSpotAt(at.x, at.y);
      if (spot && pressed_spot_ == spot->Button)
        OnHotSpotClick(spot->Button);
      pressed_spot_.reset();
      return 0;
    }
    case WM_LBUTTONDBLCLK: {
      const POINT at = LogicalPoint(lparam, false);
      if (const auto spot = HotSpotAt(at.x, at.y))
        OnHotSpotDoubleClick(spot->Button);
      return 0;
    }
    case WM_TIMER:
      if (wparam == kSysMenuTimer) {
        KillTimer(hwnd_, kSysMenuTimer);
        ShowSysMenu();
      }
      return 0;
    case WM_SYSCOMMAND:
      // Alt+Space: without a frame the system has no menu to show; ours stands in.
      if ((wparam & 0xFFF0) == SC_KEYMENU && lparam == ' ') {
        ShowSysMenu();
        return 0;
      }
      break;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wparam), *reinterpret_cast<RECT*>(lparam));
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wparam));
      return 0;
    case WM_INITMENUPOPUP:
      OnInitMenuPopup(reinterpret_cast<HMENU>(wparam));
      return 0;
    case WM_CONTEXTMENU:
      OnContextMenu(reinterpret_cast<HWND>(wparam), GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
      return 0;
    case kTrayNotifyMessage:
      OnTrayNotify(static_cast<UINT>(lparam));
      return 0;
    case WM_NOTIFY:
      OnNotify(*reinterpret_cast<NMHDR*>(lparam));
      return 0;
    case WM_CTLCOLORSTATIC:
      return OnColorStatic(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<DRAWITEMSTRUCT*>(lparam);
      if (item.CtlID == IDC_HISRECV) {
        DrawHistogramBox(item);
      } else {
        DrawButton(item);
      }
      return TRUE;
    }
    case WM_USER:
      controller_.UserMessage(lparam);
      return 0;
    case WM_HOTKEY:
      controller_.WMHotKey(static_cast<int>(wparam));
      return 0;
    case WM_CLOSE:
      if (controller_.FormClose())
        DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      tray_icon_.reset();
      for (HMENU menu : {sys_menu_, list_menu_, tray_menu_, copy_menu_, help_menu_})
        DestroyMenu(menu);
      for (HFONT font : {ui_font_, caption_font_, link_font_, link_hot_font_})
        DeleteObject(font);
      for (const auto& [color, brush] : brushes_)
        DeleteObject(brush);
      DeleteObject(skin_);
      PostQuitMessage(0);
      return 0;
  }
  if (msg == taskbar_created_ && tray_icon_)
    tray_icon_->Restore();
  return DefWindowProcA(hwnd_, msg, wparam, lparam);
}

POINT MainWindow::LogicalPoint(LPARAM lparam, bool screen) const {
  POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
  if (screen)
    ScreenToClient(hwnd_, &at);
  return {MulDiv(at.x, 96, dpi_), MulDiv(at.y, 96, dpi_)};
}

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

void MainWindow::OnMouseMove(POINT at) {
  if (const auto spot = HotSpotAt(at.x, at.y)) {
    controller_.Sounds().Hover(spot->HoverKey);
  } else {
    controller_.Sounds().ClearHover();
  }
}

// A click on the system-menu button waits out the double-click time, so that a double
// click closes the window instead of opening the menu.
void MainWindow::OnHotSpotClick(TitleButton button) {
  switch (button) {
    case TitleButton::SysMenu:
      SetTimer(hwnd_, kSysMenuTimer, GetDoubleClickTime(), nullptr);
      break;
    case TitleButton::Minimize:
      ShowWindow(hwnd_, SW_MINIMIZE);
      break;
    case TitleButton::Tray:
      controller_.HideToTray();
      break;
  }
}

void MainWindow::OnHotSpotDoubleClick(TitleButton button) {
  if (button == TitleButton::SysMenu) {
    KillTimer(hwnd_, kSysMenuTimer);
    Close();
  }
}

void MainWindow::ShowSysMenu() {
  RECT rect;
  GetWindowRect(hwnd_, &rect);
  ShowPopup(sys_menu_, rect.left + ScaleToDpi(5, dpi_), rect.top + ScaleToDpi(28, dpi_));
}

void MainWindow::ShowHelpPopup() {
  RECT rect;
  GetWindowRect(GetDlgItem(hwnd_, IDC_BTNHELP), &rect);
  ShowPopup(help_menu_, rect.left, rect.bottom);
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

void MainWindow::ShowPopup(HMENU menu, int x, int y) {
  if (x == -1 && y == -1) {  // from the keyboard: open under the window's top-left corner
    RECT rect;
    GetWindowRect(hwnd_, &rect);
    x = rect.left + ScaleToDpi(5, dpi_);
    y = rect.top + ScaleToDpi(28, dpi_);
  }
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, x, y, 0, hwnd_, nullptr);
}

// A read-out opens the copy menu for itself; elsewhere the list's menu or the window's.
void MainWindow::OnContextMenu(HWND from, int x, int y) {
  constexpr int kReadoutIds[] = {IDC_LBLINFO1, IDC_LBLINFO2, IDC_LBLINFO3};
  for (int i = 0; i < 3; ++i) {
    if (from == GetDlgItem(hwnd_, kReadoutIds[i])) {
      controller_.CopyPopPopup(i + 1);
      ShowPopup(copy_menu_, x, y);
      return;
    }
  }
  ShowPopup(from == list_ ? list_menu_ : sys_menu_, x, y);
}

// A click on the icon shows or hides the window; the right button opens the tray menu,
// whose first item names what it will do.
void MainWindow::OnTrayNotify(UINT mouse_message) {
  if (mouse_message == WM_LBUTTONUP) {
    controller_.ControlClick(IDM_SHOWHIDEMAINFORM1);
  } else if (mouse_message == WM_RBUTTONUP) {
    ModifyMenuA(tray_menu_, IDM_SHOWHIDEMAINFORM1, MF_BYCOMMAND | MF_STRING, IDM_SHOWHIDEMAINFORM1,
                controller_.TrayIcon().ShowHideCaption().c_str());
    POINT at;
    GetCursorPos(&at);
    // Without being the foreground window the menu would not close on a click elsewhere.
    SetForegroundWindow(hwnd_);
    ShowPopup(tray_menu_, at.x, at.y);
    PostMessageA(hwnd_, WM_NULL, 0, 0);
  }
}

// The home-page link is the one control that runs no command of the table.
void MainWindow::OnCommand(int id) {
  if (id == IDC_LBLHOMEURL) {
    controller_.Homepage1Click();
    link_visited_ = true;
    InvalidateRect(GetDlgItem(hwnd_, IDC_LBLHOMEURL), nullptr, TRUE);
    return;
  }
  controller_.ControlClick(id);
}

// Menus show each command's state as the command table has it at the moment they open.
void MainWindow::OnInitMenuPopup(HMENU menu) {
  for (int i = 0, count = GetMenuItemCount(menu); i < count; ++i) {
    const auto command = CommandOfId(static_cast<int>(GetMenuItemID(menu, i)));
    if (!command)
      continue;
    const CommandTable& commands = controller_.Commands();
    EnableMenuItem(menu, i, MF_BYPOSITION | (commands.Enabled(*command) ? MF_ENABLED : MF_GRAYED));
    CheckMenuItem(menu, i,
                  MF_BYPOSITION | (commands.Checked(*command) ? MF_CHECKED : MF_UNCHECKED));
  }
}

// Buttons of commands that cannot run are greyed, as their menu items are.
void MainWindow::EnableButtons() {
  for (const auto& buttons : {SpeedButtons(), ViewButtons()}) {
    for (const SkinButton& b : buttons) {
      if (const auto command = CommandOfId(b.Id))
        EnableWindow(GetDlgItem(hwnd_, b.Id), controller_.Commands().Enabled(*command));
    }
  }
}

void MainWindow::OnNotify(const NMHDR& header) {
  if (header.hwndFrom != list_)
    return;
  const std::string caption = NewlyHighlightedCaption(&header);
  if (!caption.empty())
    controller_.CnListSelectItem(caption);
  if (IsDoubleClickOnItem(&header))
    controller_.CnListDblClick();
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
  PaintHistogram(item.hDC, item.rcItem, bars_, SkinRgb(skin_color::kCard));
}

void MainWindow::ApplyWindowSettings(const std::string& title, const std::string& caption_label,
                                     int left, int top) {
  SetWindowTextA(hwnd_, title.c_str());
  SetDlgItemTextA(hwnd_, IDC_LBLMAINFORMCAPTION, caption_label.c_str());
  SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::SetStatus(const std::string& text, uint32_t color) {
  status_color_ = color;
  SetDlgItemTextA(hwnd_, IDC_LBLSTATUS, text.c_str());
  InvalidateRect(GetDlgItem(hwnd_, IDC_LBLSTATUS), nullptr, TRUE);
}

void MainWindow::SetOnlineLabel(const std::string& text, uint32_t color) {
  online_color_ = color;
  SetDlgItemTextA(hwnd_, IDC_LBLONLINE, text.c_str());
  InvalidateRect(GetDlgItem(hwnd_, IDC_LBLONLINE), nullptr, TRUE);
}

void MainWindow::ShowConnections(const std::vector<ConnectionRow>& rows) {
  FillConnectionItems(list_, rows);
}

void MainWindow::MarkSelectedConnection(int index) {
  MarkConnectionItem(list_, index);
}

void MainWindow::ShowKeepConnection(bool on) {
  keep_down_ = on;
  InvalidateRect(GetDlgItem(hwnd_, IDC_BTNKEEP), nullptr, FALSE);
}

void MainWindow::ShowReadouts(const std::array<std::string, 3>& captions,
                              const ReadoutValues& values) {
  constexpr int kCaptionIds[] = {IDC_LBLINFO1CAPTION, IDC_LBLINFO2CAPTION, IDC_LBLINFO3CAPTION};
  constexpr int kValueIds[] = {IDC_LBLINFO1, IDC_LBLINFO2, IDC_LBLINFO3};
  for (int i = 0; i < 3; ++i) {
    SetDlgItemTextA(hwnd_, kCaptionIds[i], captions[i].c_str());
    if (values[i])
      SetDlgItemTextA(hwnd_, kValueIds[i], values[i]->c_str());
  }
}

std::string MainWindow::ReadoutText(int index) {
  constexpr int kValueIds[] = {IDC_LBLINFO1, IDC_LBLINFO2, IDC_LBLINFO3};
  char text[256] = "";
  GetDlgItemTextA(hwnd_, kValueIds[index], text, sizeof text);
  return text;
}

void MainWindow::ShowHistogram(const HistogramBars& bars) {
  bars_ = bars;
  InvalidateRect(GetDlgItem(hwnd_, IDC_HISRECV), nullptr, FALSE);
}

void MainWindow::ShowTrayIcon(int icon_index, const std::string& hint) {
  tray_icon_->Show(icon_index, hint);
}

void MainWindow::WindowPosition(int& left, int& top) {
  RECT rect;
  if (!GetWindowRect(hwnd_, &rect))
    return;
  left = rect.left;
  top = rect.top;
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

}  // namespace

int RunMainWindow(const MainPorts& ports, const std::vector<std::string>& args,
                  const std::function<void()>& created) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  auto window = std::make_unique<MainWindow>(ports, args);
  window->Create();
  HWND hwnd = static_cast<HWND>(window->Handle());
  window->Controller().DialUp().OwnerWindow = hwnd;
  try {
    window->Controller().FormCreate();
  } catch (const std::exception& e) {
    // Only a missing RAS raises: say so and keep the window, as every other failure does.
    MessageBoxA(hwnd, e.what(), "Error", MB_OK | MB_ICONERROR);
  }
  created();
  if (!window->Controller().HiddenToTray())
    ShowWindow(hwnd, SW_SHOWNORMAL);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageA(hwnd, &msg))
      continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
