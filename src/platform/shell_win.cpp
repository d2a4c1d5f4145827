// The shell's "Open" verb.
#include <windows.h>
#include <shellapi.h>

#include "platform/win_ports.h"

namespace {

class WinShell : public Shell {
 public:
  bool Open(const std::string& file, void* owner) override {
    auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(static_cast<HWND>(owner), "Open", file.c_str(), "", "", SW_SHOWNORMAL));
    return result > 32;
  }

  bool OpenWith(const std::string& file, const std::string& parameters,
                const std::string& directory, ShowCommand show, void* owner) override {
    auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(static_cast<HWND>(owner), "Open", file.c_str(), parameters.c_str(),
                      directory.c_str(), static_cast<int>(show)));
    return result > 32;
  }
};

static_assert(static_cast<int>(ShowCommand::Hide) == SW_HIDE &&
              static_cast<int>(ShowCommand::ShowMaximized) == SW_SHOWMAXIMIZED &&
              static_cast<int>(ShowCommand::Show) == SW_SHOW &&
              static_cast<int>(ShowCommand::Minimize) == SW_MINIMIZE);

}  // namespace

std::unique_ptr<Shell> MakeWinShell() {
  return std::make_unique<WinShell>();
}
