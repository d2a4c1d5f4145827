// Loads libraries with the system loader.
#include <windows.h>

#include "platform/win_ports.h"

namespace {

class WinLibraryLoader : public LibraryLoader {
 public:
  Library Load(const std::string& name) override { return LoadLibraryA(name.c_str()); }

  void* Find(Library library, const std::string& symbol) override {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), symbol.c_str()));
  }

  void Free(Library library) override { FreeLibrary(static_cast<HMODULE>(library)); }
};

}  // namespace

std::unique_ptr<LibraryLoader> MakeWinLibraryLoader() {
  return std::make_unique<WinLibraryLoader>();
}
