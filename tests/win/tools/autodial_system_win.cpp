// Plays the system's automatic dialing for the Windows tests, in a process of its own:
//   autodial_system.exe ENTRY
// finds the entry in the phonebooks RAS lists, reads the handler from the entry's
// properties, loads that library and calls its wide function (the registered name with W
// appended) as the system does. Exit code: the handler's code when it answered TRUE; 9000
// when it answered FALSE; 9001 for no such entry, 9002 for an entry without a handler,
// 9003 for a handler that cannot be loaded.
#include <windows.h>

#include <ras.h>

#include <string>
#include <vector>

namespace {

std::wstring Wide(const std::string& text) {
  std::wstring wide(text.size() + 1, L'\0');
  const int length =
      MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
  wide.resize(length > 0 ? static_cast<size_t>(length - 1) : 0);
  return wide;
}

// The phonebook that lists the entry, or nothing.
bool FindEntry(const std::string& entry, std::string& phonebook) {
  std::vector<RASENTRYNAMEA> names(64);
  names[0].dwSize = sizeof(RASENTRYNAMEA);
  DWORD size = static_cast<DWORD>(names.size() * sizeof(RASENTRYNAMEA));
  DWORD count = 0;
  if (RasEnumEntriesA(nullptr, nullptr, names.data(), &size, &count) != 0)
    return false;
  for (DWORD i = 0; i < count; ++i) {
    if (lstrcmpiA(names[i].szEntryName, entry.c_str()) == 0) {
      phonebook = names[i].szPhonebookPath;
      return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2)
    return 9001;
  const std::string entry = argv[1];
  std::string phonebook;
  if (!FindEntry(entry, phonebook))
    return 9001;
  RASENTRYA properties{};
  properties.dwSize = sizeof properties;
  DWORD size = sizeof properties;
  if (RasGetEntryPropertiesA(phonebook.c_str(), entry.c_str(), &properties, &size, nullptr,
                             nullptr) != 0 ||
      !properties.szAutodialDll[0] || !properties.szAutodialFunc[0])
    return 9002;
  HMODULE library = LoadLibraryA(properties.szAutodialDll);
  const std::string function = std::string(properties.szAutodialFunc) + "W";
  const auto handler = library ? reinterpret_cast<RASADFUNCW>(reinterpret_cast<void*>(
                                     GetProcAddress(library, function.c_str())))
                               : nullptr;
  if (!handler)
    return 9003;
  std::wstring wide_phonebook = Wide(phonebook);
  std::wstring wide_entry = Wide(entry);
  RASADPARAMS params{};
  params.dwSize = sizeof params;
  DWORD code = 0;
  const BOOL handled = handler(wide_phonebook.data(), wide_entry.data(), &params, &code);
  return handled ? static_cast<int>(code) : 9000;
}
