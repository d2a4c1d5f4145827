// Message boxes and the open-file dialog. Their captions never read "Tarvolin": a second start
// finds the running program by that window title.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>

#include "platform/win_ports.h"

namespace {

// A Yes/No box of the system ignores Esc; ours takes Esc (and closing) as No.
LRESULT CALLBACK EscapeAnswersNo(HWND box, UINT msg, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                 DWORD_PTR) {
  if (msg == WM_COMMAND && LOWORD(wparam) == IDCANCEL) {
    EndDialog(box, IDNO);
    return 0;
  }
  if (msg == WM_NCDESTROY)
    RemoveWindowSubclass(box, EscapeAnswersNo, id);
  return DefSubclassProc(box, msg, wparam, lparam);
}

thread_local HHOOK t_box_watch = nullptr;

// The first dialog created after the watch starts is the message box being shown.
LRESULT CALLBACK WatchForBox(int code, WPARAM wparam, LPARAM lparam) {
  const LRESULT next = CallNextHookEx(t_box_watch, code, wparam, lparam);
  char cls[16] = {};
  if (code == HCBT_CREATEWND && GetClassNameA(reinterpret_cast<HWND>(wparam), cls, sizeof(cls)) &&
      lstrcmpA(cls, "#32770") == 0) {
    SetWindowSubclass(reinterpret_cast<HWND>(wparam), EscapeAnswersNo, 1, 0);
    UnhookWindowsHookEx(t_box_watch);
    t_box_watch = nullptr;
  }
  return next;
}

class WinPrompts : public Prompts {
 public:
  void Error(const std::string& text) override { Show(text, "Error", MB_ICONERROR); }
  void Information(const std::string& text) override {
    Show(text, "Information", MB_ICONINFORMATION);
  }
  void Warning(const std::string& text) override { Show(text, "Warning", MB_ICONWARNING); }
  bool AskYesNo(const std::string& caption, const std::string& text) override {
    t_box_watch = SetWindowsHookExA(WH_CBT, WatchForBox, nullptr, GetCurrentThreadId());
    const int answer = MessageBoxA(GetActiveWindow(), text.c_str(), caption.c_str(),
                                   MB_YESNO | MB_DEFBUTTON1 | MB_ICONQUESTION);
    if (t_box_watch)  // the box never showed
      UnhookWindowsHookEx(t_box_watch);
    t_box_watch = nullptr;
    return answer == IDYES;
  }
  std::optional<std::string> AskOpenFile(const std::string& filter) override {
    std::string pairs = filter + '|';  // the system wants each part ended by a NUL
    std::replace(pairs.begin(), pairs.end(), '|', '\0');
    char file[MAX_PATH] = {};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = pairs.c_str();
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof(file);
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameA(&dialog))
      return std::nullopt;
    return std::string(file);
  }

 private:
  static void Show(const std::string& text, const char* caption, UINT icon) {
    MessageBoxA(GetActiveWindow(), text.c_str(), caption, MB_OK | icon);
  }
};

}  // namespace

std::unique_ptr<Prompts> MakeWinPrompts() {
  return std::make_unique<WinPrompts>();
}
