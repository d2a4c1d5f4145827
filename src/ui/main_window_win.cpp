// The main window: its controls, its popup menu, and the messages it forwards to the
// controller. No rules live here.
#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include <memory>

#include "actions/action_dialogs.h"
#include "profiles/property_dialog.h"
#include "schedule/schedule_dialogs.h"
#include "settings/hotkey_dialog.h"
#include "settings/options_dialog.h"
#include "ui/command_ids.h"
#include "ui/commands.h"
#include "ui/connection_list_view.h"
#include "ui/histogram_view_win.h"
#include "ui/main_menu.h"
#include "ui/main_window.h"
#include "ui/tray_win.h"

namespace {

constexpr const char* kMainClass = "TTarvolinMainForm";
constexpr int kClientWidth = 500;
constexpr int kClientHeight = 380;

struct ButtonSpec {
  int Id;
  int Left, Top;
  const char* Caption;
  const char* Hint;
};

// The speed buttons, 50 x 56 each.
constexpr ButtonSpec kSpeedButtons[] = {
    {IDC_BTNNEW, 9, 36, "New", "Create new account"},
    {IDC_BTNEDIT, 63, 36, "Edit", "Edit selected connection"},
    {IDC_BTNDELETE, 117, 36, "Delete", "Delete selected connection"},
    {IDC_BTNKEEP, 171, 36, "Keep", "Keep connection"},
    {IDC_BTNSCHEDULE, 225, 36, "Schedule", "Customize schedule"},
    {IDC_BTNACTION, 279, 36, "Action", "Customize action"},
    {IDC_BTNHOTKEY, 333, 36, "HotKey", "HotKey"},
    {IDC_BTNOPTION, 387, 36, "Option", "Option"},
    {IDC_BTNHELP, 441, 36, "Help", "Help"},
    {IDC_BTNDIAL, 441, 102, "Dial", "Dial"},
    {IDC_BTNHANGUP, 441, 163, "Hang Up", "Hang Up"},
    {IDC_BTNPROPERTY, 441, 223, "Property", "Propertiy"},
    {IDC_BTNDEFAULT, 441, 284, "Default", "Set as default connection"},
};

struct ViewButtonSpec {
  int Id;
  int Left, Top;
  const char* Caption;
  const char* Hint;
  const char* Sign;  // what the small button shows
};

// The view buttons, 24 x 24 each.
constexpr ViewButtonSpec kViewButtons[] = {
    {IDC_BTNVIEWSPEED, 12, 268, "Speed", "View Speed", ">>"},
    {IDC_BTNVIEWTIME, 39, 268, "Time", "View Time", "T"},
    {IDC_BTNVIEWEXPENSE, 67, 268, "Expense", "View Expense", "$"},
    {IDC_BTNVIEWIP, 94, 268, "IP", "View IP & Connection Speed", "IP"},
};

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
    {IDC_LBLINFO1, 126, 284, 100, 18, "0:00:00", SS_LEFT | SS_SUNKEN | SS_NOTIFY},
    {IDC_LBLINFO2, 230, 284, 100, 18, "0:00:00", SS_LEFT | SS_SUNKEN | SS_NOTIFY},
    {IDC_LBLINFO3, 334, 284, 100, 18, "0:00:00", SS_LEFT | SS_SUNKEN | SS_NOTIFY},
    {IDC_HISRECV, 286, 318, 148, 21, "Data exchange", SS_OWNERDRAW},
    {IDC_LBLONLINE, 14, 322, 100, 16, "Offline", SS_LEFT},
    {IDC_LBLSTATUS, 9, 354, 482, 18, "", SS_LEFT | SS_ENDELLIPSIS},
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
  void DrawViewButton(const DRAWITEMSTRUCT& item);

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
  HFONT ui_font_ = nullptr;
  HFONT caption_font_ = nullptr;
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
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  wc.lpszClassName = kMainClass;
  RegisterClassExA(&wc);

  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  RECT rect{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRect(&rect, style, FALSE);
  CreateWindowExA(0, kMainClass, "Tarvolin", style, CW_USEDEFAULT, CW_USEDEFAULT,
                  rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, wc.hInstance,
                  this);
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
      CreateFonts();
      CreateControls();
      sys_menu_ = BuildMenu(SysMenuItems());
      list_menu_ = BuildMenu(CnListPopItems());
      tray_menu_ = BuildMenu(TrayPopItems());
      copy_menu_ = BuildMenu(CopyPopItems());
      tray_icon_ = std::make_unique<TrayNotifyIcon>(hwnd_, kTrayNotifyMessage);
      taskbar_created_ = RegisterWindowMessageA("TaskbarCreated");
      EnableButtons();
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
        DrawViewButton(item);
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
      DestroyMenu(sys_menu_);
      DestroyMenu(list_menu_);
      DestroyMenu(tray_menu_);
      DestroyMenu(copy_menu_);
      DeleteObject(ui_font_);
      DeleteObject(caption_font_);
      PostQuitMessage(0);
      return 0;
  }
  if (msg == taskbar_created_ && tray_icon_)
    tray_icon_->Restore();
  return DefWindowProcA(hwnd_, msg, wparam, lparam);
}

void MainWindow::CreateFonts() {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  ui_font_ = CreateFontIndirectA(&metrics.lfMessageFont);
  caption_font_ = CreateFontA(-15, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0,
                              0, "Times New Roman");
}

HWND MainWindow::AddControl(const char* cls, const char* caption, DWORD style, int id, int x, int y,
                            int w, int h) {
  HWND control = CreateWindowExA(0, cls, caption, WS_CHILD | WS_VISIBLE | style, x, y, w, h, hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleA(nullptr), nullptr);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(ui_font_), FALSE);
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

void MainWindow::CreateControls() {
  tooltip_ = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                             hwnd_, nullptr, GetModuleHandleA(nullptr), nullptr);
  for (const auto& b : kSpeedButtons) {
    DWORD style =
        WS_TABSTOP | (b.Id == IDC_BTNKEEP ? BS_AUTOCHECKBOX | BS_PUSHLIKE : BS_PUSHBUTTON);
    AddHint(AddControl("BUTTON", b.Caption, style, b.Id, b.Left, b.Top, 50, 56), b.Hint);
  }
  for (const auto& b : kViewButtons) {
    AddHint(AddControl("BUTTON", b.Caption, WS_TABSTOP | BS_OWNERDRAW, b.Id, b.Left, b.Top, 24, 24),
            b.Hint);
  }
  for (const auto& l : kLabels) {
    HWND label = AddControl("STATIC", l.Caption, l.Style, l.Id, l.Left, l.Top, l.Width, l.Height);
    if (l.Id == IDC_HISRECV)
      AddHint(label, "Data exchange");
  }
  SendDlgItemMessageA(hwnd_, IDC_LBLMAINFORMCAPTION, WM_SETFONT,
                      reinterpret_cast<WPARAM>(caption_font_), FALSE);

  list_ = static_cast<HWND>(CreateConnectionList(hwnd_, IDC_CNLIST, ui_font_));
}

void MainWindow::ShowPopup(HMENU menu, int x, int y) {
  if (x == -1 && y == -1) {  // from the keyboard: open under the window's top-left corner
    RECT rect;
    GetWindowRect(hwnd_, &rect);
    x = rect.left + 5;
    y = rect.top + 28;
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

void MainWindow::OnCommand(int id) {
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
  auto enable = [this](int id) {
    if (const auto command = CommandOfId(id))
      EnableWindow(GetDlgItem(hwnd_, id), controller_.Commands().Enabled(*command));
  };
  for (const auto& b : kSpeedButtons)
    enable(b.Id);
  for (const auto& b : kViewButtons)
    enable(b.Id);
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

LRESULT MainWindow::OnColorStatic(HDC dc, HWND control) {
  const int id = GetDlgCtrlID(control);
  SetBkMode(dc, TRANSPARENT);
  if (id == IDC_LBLSTATUS)
    SetTextColor(dc, status_color_);
  if (id == IDC_LBLONLINE)
    SetTextColor(dc, online_color_);
  if (id == IDC_LBLMAINFORMCAPTION)
    SetTextColor(dc, RGB(0, 0, 255));
  return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
}

// The view buttons are too small for their captions: they show a short sign instead,
// and keep the caption for keyboard and screen-reader users.
void MainWindow::DrawViewButton(const DRAWITEMSTRUCT& item) {
  const char* sign = "";
  for (const auto& b : kViewButtons) {
    if (b.Id == static_cast<int>(item.CtlID))
      sign = b.Sign;
  }
  RECT rect = item.rcItem;
  const bool pressed = item.itemState & ODS_SELECTED;
  DrawFrameControl(item.hDC, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, RGB(37, 80, 138));
  HGDIOBJ old = SelectObject(item.hDC, ui_font_);
  DrawTextA(item.hDC, sign, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(item.hDC, old);
  if (item.itemState & ODS_FOCUS) {
    InflateRect(&rect, -3, -3);
    DrawFocusRect(item.hDC, &rect);
  }
}

void MainWindow::DrawHistogramBox(const DRAWITEMSTRUCT& item) {
  PaintHistogram(item.hDC, item.rcItem, bars_, GetSysColor(COLOR_WINDOW));
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
  CheckDlgButton(hwnd_, IDC_BTNKEEP, on ? BST_CHECKED : BST_UNCHECKED);
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
