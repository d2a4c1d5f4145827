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
};

}  // namespace

std::unique_ptr<Shell> MakeWinShell() {
  return std::make_unique<WinShell>();
}
