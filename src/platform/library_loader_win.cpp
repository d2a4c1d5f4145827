// Loads libraries with the system loader.
#include "platform/library_loader_win.h"

#include <string>

#include "platform/win_ports.h"

HMODULE LoadSystemLibrary(const char* name) {
  HMODULE library = LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (library || GetLastError() != ERROR_INVALID_PARAMETER)
    return library;
  // A system without the search flag: the full path names the one file all the same.
  char folder[MAX_PATH];
  const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH)
    return nullptr;
  return LoadLibraryExA((std::string(folder) + "\\" + name).c_str(), nullptr,
                        LOAD_WITH_ALTERED_SEARCH_PATH);
}

namespace {

class WinLibraryLoader : public LibraryLoader {
 public:
  Library Load(const std::string& name) override { return LoadSystemLibrary(name.c_str()); }

  void* Find(Library library, const std::string& symbol) override {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), symbol.c_str()));
  }

  void Free(Library library) override { FreeLibrary(static_cast<HMODULE>(library)); }
};

}  // namespace

std::unique_ptr<LibraryLoader> MakeWinLibraryLoader() {
  return std::make_unique<WinLibraryLoader>();
}
