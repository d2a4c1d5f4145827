// Message boxes. Their captions never read "Tarvolin": a second start finds the
// running program by that window title.
#include <windows.h>

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

 private:
  static void Show(const std::string& text, const char* caption, UINT icon) {
    MessageBoxA(GetActiveWindow(), text.c_str(), caption, MB_OK | icon);
  }
};

}  // namespace

std::unique_ptr<Prompts> MakeWinPrompts() {
  return std::make_unique<WinPrompts>();
}
