// The substitute's phonebook entry dialog, laid out in memory so that the DLL needs no
// resource script.
#include <windows.h>

#include <exception>
#include <string>
#include <vector>

#include "rassim/entry.h"
#include "rassim/entry_dialog.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;  // this DLL's own module

namespace rassim {
namespace {

constexpr wchar_t kCaption[] = L"Phonebook Entry";

constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;
constexpr WORD kComboBoxClass = 0x0085;
constexpr WORD kNoId = 0xFFFF;

enum ControlId : WORD { kIdName = 101, kIdPhone, kIdDevice, kIdOutcome };

struct Field {
  ControlId id;
  const wchar_t* label;
  int max_length;  // 0 for the outcome's drop-down list
};

constexpr Field kFields[] = {
    {kIdName, L"Entry name:", kMaxEntryName},
    {kIdPhone, L"Phone number:", kMaxPhoneNumber},
    {kIdDevice, L"Device:", kMaxDeviceName},
    {kIdOutcome, L"Outcome:", 0},
};

// A DLGTEMPLATE and its items in one block of 16-bit words, each item DWORD-aligned.
class DialogTemplate {
 public:
  DialogTemplate(const wchar_t* caption, short width, short height) {
    AddDword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER);
    AddDword(0);          // extended style
    words_.push_back(0);  // item count, raised by Add
    AddRect(0, 0, width, height);
    words_.push_back(0);  // no menu
    words_.push_back(0);  // the standard dialog class
    AddText(caption);
    words_.push_back(8);  // font size in points
    AddText(L"MS Shell Dlg");
  }

  void Add(WORD id, WORD control_class, DWORD style, short x, short y, short width, short height,
           const wchar_t* text) {
    if (words_.size() % 2 != 0) {
      words_.push_back(0);
    }
    AddDword(style | WS_CHILD | WS_VISIBLE);
    AddDword(0);
    AddRect(x, y, width, height);
    words_.push_back(id);
    words_.push_back(0xFFFF);  // a predefined class follows by its number
    words_.push_back(control_class);
    AddText(text);
    words_.push_back(0);  // no creation data
    ++words_[kCountIndex];
  }

  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  static constexpr size_t kCountIndex = 4;

  void AddDword(DWORD value) {
    words_.push_back(LOWORD(value));
    words_.push_back(HIWORD(value));
  }
  void AddRect(short x, short y, short width, short height) {
    for (short value : {x, y, width, height}) {
      words_.push_back(static_cast<WORD>(value));
    }
  }
  void AddText(const wchar_t* text) {
    for (; *text; ++text) {
      words_.push_back(*text);
    }
    words_.push_back(0);
  }

  std::vector<WORD> words_;
};

DialogTemplate Layout() {
  DialogTemplate layout(kCaption, 232, 118);
  for (int row = 0; row < int(std::size(kFields)); ++row) {
    const Field& field = kFields[row];
    const short y = static_cast<short>(10 + 18 * row);
    layout.Add(kNoId, kStaticClass, SS_LEFT, 8, y + 2, 62, 8, field.label);
    if (field.max_length > 0) {
      layout.Add(field.id, kEditClass, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 72, y, 152, 12,
                 L"");
    } else {
      layout.Add(field.id, kComboBoxClass, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 72, y, 152,
                 90, L"");
    }
  }
  layout.Add(IDOK, kButtonClass, BS_DEFPUSHBUTTON | WS_TABSTOP, 120, 96, 50, 14, L"OK");
  layout.Add(IDCANCEL, kButtonClass, BS_PUSHBUTTON | WS_TABSTOP, 174, 96, 50, 14, L"Cancel");
  return layout;
}

std::string ItemText(HWND dialog, int id) {
  const HWND item = GetDlgItem(dialog, id);
  std::string text(GetWindowTextLengthA(item) + 1, '\0');
  text.resize(GetWindowTextA(item, text.data(), static_cast<int>(text.size())));
  return text;
}

void Load(HWND dialog, const EntryFields& entry) {
  for (const Field& field : kFields) {
    if (field.max_length > 0) {
      SendDlgItemMessageA(dialog, field.id, EM_LIMITTEXT, field.max_length, 0);
    }
  }
  SetDlgItemTextA(dialog, kIdName, entry.name.c_str());
  SetDlgItemTextA(dialog, kIdPhone, entry.phone_number.c_str());
  SetDlgItemTextA(dialog, kIdDevice, entry.device.c_str());
  for (const char* word : kOutcomeWords) {
    SendDlgItemMessageA(dialog, kIdOutcome, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(word));
  }
  const LRESULT chosen = SendDlgItemMessageA(dialog, kIdOutcome, CB_FINDSTRINGEXACT, WPARAM(-1),
                                             reinterpret_cast<LPARAM>(entry.outcome.c_str()));
  SendDlgItemMessageA(dialog, kIdOutcome, CB_SETCURSEL, chosen == CB_ERR ? 0 : chosen, 0);
}

// False, after telling the user why, when the entry cannot be saved as it stands.
bool Save(HWND dialog, EntryFields& entry) {
  const std::string name = ItemText(dialog, kIdName);
  if (Trim(name).empty()) {
    MessageBoxW(dialog, L"Please enter a name for the entry.", kCaption, MB_OK | MB_ICONWARNING);
    SetFocus(GetDlgItem(dialog, kIdName));
    return false;
  }
  entry = {name, ItemText(dialog, kIdPhone), ItemText(dialog, kIdDevice),
           ItemText(dialog, kIdOutcome)};
  return true;
}

bool OnCommand(HWND dialog, WORD id) {
  auto* entry = reinterpret_cast<EntryFields*>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (id == IDOK && Save(dialog, *entry)) {
    EndDialog(dialog, IDOK);
  } else if (id == IDCANCEL) {
    EndDialog(dialog, IDCANCEL);
  }
  return id == IDOK || id == IDCANCEL;
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  try {
    switch (message) {
      case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        Load(dialog, *reinterpret_cast<const EntryFields*>(lparam));
        return TRUE;
      case WM_COMMAND:
        return OnCommand(dialog, LOWORD(wparam));
    }
  } catch (const std::exception&) {
    // Nothing may unwind through the system's dialog code: give up as if cancelled.
    EndDialog(dialog, IDCANCEL);
  }
  return FALSE;
}

}  // namespace

// New and existing entries look alike, so `is_new` changes nothing here.
bool ShowEntryDialog(void* parent, EntryFields& entry, bool /*is_new*/) {
  const DialogTemplate layout = Layout();
  const INT_PTR result = DialogBoxIndirectParamA(reinterpret_cast<HINSTANCE>(&__ImageBase),
                                                 layout.get(), static_cast<HWND>(parent),
                                                 DialogProc, reinterpret_cast<LPARAM>(&entry));
  return result == IDOK;
}

}  // namespace rassim
