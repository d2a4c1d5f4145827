// The dialog base: the one dialog procedure, and the control helpers of the views.
#include <windows.h>
#include <commctrl.h>

#include <exception>

#include "platform/win_helpers.h"
#include "platform/dialog_win.h"

bool DialogWin::RunModal(HWND owner, int template_id) {
  const INT_PTR result =
      DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(template_id), owner,
                      &DialogWin::Procedure, reinterpret_cast<LPARAM>(this));
  return result == IDOK;
}

void DialogWin::OpenModeless(int template_id) {
  modeless_ = true;
  CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(template_id), nullptr,
                     &DialogWin::Procedure, reinterpret_cast<LPARAM>(this));
  ShowWindow(hwnd_, SW_SHOWNORMAL);
}

void DialogWin::End(int result) {
  if (modeless_)
    DestroyWindow(hwnd_);
  else
    EndDialog(hwnd_, result);
}

bool DialogWin::OnMessage(unsigned, uintptr_t, intptr_t) {
  return false;
}

void DialogWin::OnCommand(int, int) {}

void DialogWin::OnNotify(const NMHDR&) {}

intptr_t __stdcall DialogWin::Procedure(HWND hwnd, unsigned msg, uintptr_t wparam,
                                        intptr_t lparam) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrA(hwnd, DWLP_USER, lparam);
    reinterpret_cast<DialogWin*>(lparam)->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<DialogWin*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  if (!self)
    return FALSE;
  try {
    return self->Handle(msg, wparam, lparam);
  } catch (const std::exception& fault) {
    self->ShowError(fault.what());
  } catch (...) {
    self->ShowError("An unexpected error occurred.");
  }
  return TRUE;
}

intptr_t DialogWin::Handle(unsigned msg, uintptr_t wparam, intptr_t lparam) {
  switch (msg) {
    case WM_INITDIALOG:
      OnInit();
      return TRUE;  // the first tab stop gets the focus
    case WM_COMMAND: {
      const int id = LOWORD(wparam);
      if (id == IDOK) {
        if (OnOK())
          End(IDOK);
      } else if (id == IDCANCEL) {
        End(IDCANCEL);
      } else {
        OnCommand(id, HIWORD(wparam));
      }
      return TRUE;
    }
    case WM_NOTIFY:
      OnNotify(*reinterpret_cast<const NMHDR*>(lparam));
      return TRUE;
    case WM_DESTROY:
      OnClose();
      return TRUE;
    case WM_NCDESTROY:
      SetWindowLongPtrA(hwnd_, DWLP_USER, 0);
      hwnd_ = nullptr;
      return TRUE;
  }
  return OnMessage(msg, wparam, lparam) ? TRUE : FALSE;
}

HWND DialogWin::Item(int id) const {
  return GetDlgItem(hwnd_, id);
}

std::string DialogWin::Text(int id) const {
  std::string text(static_cast<size_t>(GetWindowTextLengthA(Item(id))) + 1, '\0');
  text.resize(static_cast<size_t>(GetDlgItemTextA(hwnd_, id, text.data(), text.size())));
  return text;
}

void DialogWin::SetText(int id, const std::string& text) {
  SetDlgItemTextA(hwnd_, id, text.c_str());
}

bool DialogWin::Checked(int id) const {
  return IsDlgButtonChecked(hwnd_, id) == BST_CHECKED;
}

void DialogWin::SetChecked(int id, bool on) {
  CheckDlgButton(hwnd_, id, on ? BST_CHECKED : BST_UNCHECKED);
}

void DialogWin::Enable(int id, bool on) {
  EnableWindow(Item(id), on);
}

void DialogWin::Show(int id, bool visible) {
  ShowWindow(Item(id), visible ? SW_SHOW : SW_HIDE);
}

void DialogWin::SetListColumns(int id, const std::vector<std::pair<std::string, int>>& columns) {
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  for (size_t i = 0; i < columns.size(); ++i) {
    column.pszText = const_cast<char*>(columns[i].first.c_str());
    column.cx = columns[i].second;
    SendMessageA(Item(id), LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
  }
}

void DialogWin::SetListRows(int id, const std::vector<std::vector<std::string>>& rows) {
  HWND list = Item(id);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  for (size_t row = 0; row < rows.size(); ++row) {
    for (size_t cell = 0; cell < rows[row].size(); ++cell) {
      item.iItem = static_cast<int>(row);
      item.iSubItem = static_cast<int>(cell);
      item.pszText = const_cast<char*>(rows[row][cell].c_str());
      SendMessageA(list, cell == 0 ? LVM_INSERTITEMA : LVM_SETITEMTEXTA, row,
                   reinterpret_cast<LPARAM>(&item));
    }
  }
}

int DialogWin::SelectedListRow(int id) const {
  return static_cast<int>(
      SendMessageA(Item(id), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

namespace {

// Combo boxes and list boxes speak the same language with different message numbers.
struct ChoiceMessages {
  UINT Reset, Add, Select, Selected;
};

ChoiceMessages MessagesOf(HWND control) {
  char cls[32] = {};
  GetClassNameA(control, cls, sizeof(cls));
  if (lstrcmpiA(cls, "ListBox") == 0)
    return {LB_RESETCONTENT, LB_ADDSTRING, LB_SETCURSEL, LB_GETCURSEL};
  return {CB_RESETCONTENT, CB_ADDSTRING, CB_SETCURSEL, CB_GETCURSEL};
}

}  // namespace

void DialogWin::FillChoices(int id, const std::vector<std::string>& items, int selected) {
  HWND control = Item(id);
  const ChoiceMessages m = MessagesOf(control);
  SendMessageA(control, m.Reset, 0, 0);
  for (const auto& item : items)
    SendMessageA(control, m.Add, 0, reinterpret_cast<LPARAM>(item.c_str()));
  SendMessageA(control, m.Select, static_cast<WPARAM>(selected), 0);
}

int DialogWin::Choice(int id) const {
  HWND control = Item(id);
  return static_cast<int>(SendMessageA(control, MessagesOf(control).Selected, 0, 0));
}

double DialogWin::DateTimeValue(int id) const {
  SYSTEMTIME time{};
  DateTime_GetSystemtime(Item(id), &time);
  return FromSystemTime(time);
}

void DialogWin::SetDateTimeValue(int id, double date_time) {
  SYSTEMTIME time;
  ToSystemTime(date_time, time);
  DateTime_SetSystemtime(Item(id), GDT_VALID, &time);
}

void DialogWin::SetUpDown(int id, int low, int high, int position) {
  SendMessageA(Item(id), UDM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
  SendMessageA(Item(id), UDM_SETPOS32, 0, position);
}

int DialogWin::UpDownPosition(int id) const {
  return static_cast<int>(SendMessageA(Item(id), UDM_GETPOS32, 0, 0));
}

void DialogWin::Focus(int id) {
  SendMessageA(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE);
}

void DialogWin::MaskWithStars(int id) {
  SendMessageA(Item(id), EM_SETPASSWORDCHAR, '*', 0);
}

void DialogWin::CenterOnOwner() {
  HWND owner = GetWindow(hwnd_, GW_OWNER);
  RECT area, self;
  GetWindowRect(owner ? owner : GetDesktopWindow(), &area);
  GetWindowRect(hwnd_, &self);
  const int left = (area.left + area.right - (self.right - self.left)) / 2;
  const int top = (area.top + area.bottom - (self.bottom - self.top)) / 2;
  SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void DialogWin::ShowError(const std::string& text) const {
  MessageBoxA(hwnd_, text.c_str(), "Error", MB_OK | MB_ICONERROR);
}

void DialogWin::ShowInformation(const std::string& text) const {
  MessageBoxA(hwnd_, text.c_str(), "Information", MB_OK | MB_ICONINFORMATION);
}
