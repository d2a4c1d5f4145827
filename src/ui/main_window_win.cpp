// The main window: its messages, popup menus and commands, forwarded to the controller,
// and what the controller has it show. No rules live here.
#include "ui/main_window_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include "commands/command_ids.h"
#include "commands/commands.h"
#include "display/main_menu.h"
#include "ui/artwork_win.h"
#include "ui/connection_list_view.h"
#include "ui/skin_win.h"

namespace {

constexpr UINT_PTR kSysMenuTimer = 1;

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

}  // namespace

void MainWindow::Create() {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = nullptr;  // the skin paints every pixel
  wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  wc.lpszClassName = kMainWindowClass;
  RegisterClassExA(&wc);

  // No frame: the skin draws one, and the title strip answers as the caption.
  const DWORD style = WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  const int dpi = static_cast<int>(GetDpiForSystem());
  CreateWindowExA(WS_EX_APPWINDOW, kMainWindowClass, "Tarvolin", style, CW_USEDEFAULT,
                  CW_USEDEFAULT, ScaleToDpi(kSkinWidth, dpi), ScaleToDpi(kSkinHeight, dpi), nullptr,
                  nullptr, wc.hInstance, this);
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
    case WM_DISPLAYCHANGE:
      KeepOnScreen();
      break;
    case WM_SETTINGCHANGE:
      if (wparam == SPI_SETWORKAREA)
        KeepOnScreen();
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
    case WM_COPYDATA: {
      const auto& data = *reinterpret_cast<const COPYDATASTRUCT*>(lparam);
      if (data.dwData != kDialRequestTag || !data.lpData)
        return FALSE;
      return controller_.DialEntryRequest(
          std::string(static_cast<const char*>(data.lpData), data.cbData));
    }
    case WM_HOTKEY:
      controller_.WMHotKey(static_cast<int>(wparam));
      return 0;
    case WM_POWERBROADCAST:
      if (wparam == PBT_APMSUSPEND)
        controller_.SystemSuspending();
      else if (wparam == PBT_APMRESUMEAUTOMATIC)
        controller_.SystemResumed();
      return TRUE;
    case WM_CLOSE:
      if (controller_.FormClose())
        DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      usage_.reset();
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

// An empty text shows no tooltip at all.
void MainWindow::ShowBillingHint(const std::string& hint) {
  if (hint == billing_hint_)
    return;
  billing_hint_ = hint;
  TOOLINFOA info{};
  info.cbSize = sizeof(info);
  info.hwnd = hwnd_;
  info.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(hwnd_, IDC_LBLINFO3));
  info.lpszText = billing_hint_.data();
  SendMessageA(tooltip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}

void MainWindow::ShowHistogram(const HistogramBars& bars) {
  bars_ = bars;
  InvalidateRect(GetDlgItem(hwnd_, IDC_HISRECV), nullptr, FALSE);
}

void MainWindow::ShowUsage(UsageModel model, const UsageFiles& files) {
  if (usage_ && usage_->IsOpen()) {
    usage_->Raise();
    return;
  }
  usage_ = std::make_unique<UsageWindow>(ports_.files, ports_.locale, std::move(model), files);
  usage_->Open();
}

void MainWindow::UsageChanged() {
  if (usage_ && usage_->IsOpen())
    usage_->Reread();
}

void MainWindow::ShowTrayIcon(int icon_index, const std::string& hint) {
  tray_icon_->Show(icon_index, hint);
}

void MainWindow::ShowTrayBalloon(const std::string& text) {
  tray_icon_->Balloon(text);
}

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
    // The keys of the main window and of the windows beside it (Usage) move between their
    // controls as in a dialog; modal dialogs run loops of their own.
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (IsDialogMessageA(root ? root : hwnd, &msg))
      continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
