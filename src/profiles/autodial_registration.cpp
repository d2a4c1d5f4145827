// The automatic-dial registration of every entry.
#include "profiles/autodial_registration.h"

#include "platform/text.h"

namespace {

constexpr const char* kInternetSettingsKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr const char* kAutoDialLibrary = "tvndl.dll";
constexpr const char* kAutoDialFunction = "RASADFunc";

}  // namespace

AutoDialRegistration::AutoDialRegistration(Registry& registry, Files& files, TDialUp& dialup)
    : registry_(registry), files_(files), dialup_(dialup) {}

// Only the user's own keys name the companion: the program's folder is one the user can
// write (a per-user install or the portable folder), and a machine-wide key pointing there
// would let that user plant a library other accounts run. Switching off also clears the
// machine-wide values an older version wrote, where the user may.
std::vector<std::string> AutoDialRegistration::Write(bool on) {
  std::vector<std::string> problems;
  const std::string selected = dialup_.Entry;
  dialup_.GetEntries();
  bool registry_refused = false;
  int handler_code = 0;
  for (const auto& entry : dialup_.Entries()) {
    const std::string profile = "RemoteAccess\\Profile\\" + entry;
    if (!on)
      RemoveValues(RegRoot::Users, ".DEFAULT\\" + profile);
    if (!registry_refused && !WriteValues(profile, on)) {
      problems.push_back(
          "The automatic-dial registration could not be written under "
          "HKEY_CURRENT_USER\\RemoteAccess\\Profile: access was refused.");
      registry_refused = true;
    }
    dialup_.Entry = entry;
    if (dialup_.InUserPhonebook(entry) && handler_code == 0)
      handler_code = WriteHandler(on);
  }
  dialup_.Entry = selected;
  if (handler_code != 0) {
    problems.push_back("The automatic-dial handler could not be written into the phonebook: " +
                       dialup_.StatusText(0, handler_code));
  }
  const std::string off(4, '\0');
  std::string enabled = off;
  registry_.ReadBytes(RegRoot::CurrentUser, kInternetSettingsKey, "EnableAutoDial", enabled);
  // A portable copy writes the value only to turn automatic dialing on, or back off.
  if (on || !files_.Portable() || enabled != off) {
    registry_.WriteBinary(RegRoot::CurrentUser, kInternetSettingsKey, "EnableAutoDial",
                          on ? std::string("\x01\0\0\0", 4) : off);
  }
  return problems;
}

// The system's automatic dialing reads the handler from the entry itself. An all-users
// entry is never given it: a library in a folder this user can write would be loaded by
// every account. Off takes back only this program's handler, never another program's.
int AutoDialRegistration::WriteHandler(bool on) {
  const std::string library = files_.ExeDir() + kAutoDialLibrary;
  std::string current_library, current_function;
  const int code = dialup_.GetEntryAutoDial(current_library, current_function);
  if (code != 0)
    return code;
  if (on)
    return dialup_.SetEntryAutoDial(library, kAutoDialFunction);
  if (SameText(current_library, library))
    return dialup_.SetEntryAutoDial("", "");
  return 0;
}

bool AutoDialRegistration::WriteValues(const std::string& key, bool on) {
  if (!on) {
    RemoveValues(RegRoot::CurrentUser, key);
    return true;
  }
  return registry_.WriteText(RegRoot::CurrentUser, key, "AutoDialDllName",
                             files_.ExeDir() + kAutoDialLibrary) &&
         registry_.WriteText(RegRoot::CurrentUser, key, "AutoDialFcnName", kAutoDialFunction);
}

void AutoDialRegistration::RemoveValues(RegRoot root, const std::string& key) {
  registry_.DeleteValue(root, key, "AutoDialDllName");
  registry_.DeleteValue(root, key, "AutoDialFcnName");
}
