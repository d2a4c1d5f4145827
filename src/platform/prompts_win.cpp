// Message boxes and the open-file dialog. Their captions never read "Tarvolin": a second start
// finds the running program by that window title.
#include <windows.h>
#include <commdlg.h>

#include <algorithm>

#include "platform/win_ports.h"

namespace {

class WinPrompts : public Prompts {
 public:
  void Error(const std::string& text) override { Show(text, "Error", MB_ICONERROR); }
  void Information(const std::string& text) override {
    Show(text, "Information", MB_ICONINFORMATION);
  }
  bool AskYesNo(const std::string& caption, const std::string& text) override {
    return MessageBoxA(GetActiveWindow(), text.c_str(), caption.c_str(),
                       MB_YESNO | MB_ICONQUESTION) == IDYES;
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
