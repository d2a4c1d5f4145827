// The automatic-dial registration of every entry.
#include "profiles/autodial_registration.h"

#include "platform/text.h"
#include "settings/settings_store.h"

namespace {

constexpr const char* kInternetSettingsKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr const char* kAutoDialLibrary = "tvndl.dll";
constexpr const char* kAutoDialFunction = "RASADFunc";

std::string PreviousKey(const std::string& entry) {
  return std::string(kSettingsKey) + "\\AutoDialPrevious\\" + entry;
}

}  // namespace

AutoDialRegistration::AutoDialRegistration(Registry& registry, Files& files, TDialUp& dialup)
    : registry_(registry), files_(files), dialup_(dialup) {}

std::string AutoDialRegistration::Library() const {
  return files_.ExeDir() + kAutoDialLibrary;
}

// Windows reads the handler from the entry itself. An all-users entry is never given one: a
// library in a folder this user can write would be loaded by every account.
std::vector<std::string> AutoDialRegistration::Write(bool on) {
  std::vector<std::string> problems;
  const std::string selected = dialup_.Entry;
  dialup_.GetEntries();
  for (const auto& entry : dialup_.Entries()) {
    const std::string profile = "RemoteAccess\\Profile\\" + entry;
    RemoveOldValues(RegRoot::CurrentUser, profile);
    RemoveOldValues(RegRoot::Users, ".DEFAULT\\" + profile);
    if (!dialup_.InUserPhonebook(entry))
      continue;
    dialup_.Entry = entry;
    std::string problem = on ? PutHandler(entry) : TakeBackHandler(entry);
    if (!problem.empty())
      problems.push_back(std::move(problem));
  }
  dialup_.Entry = selected;
  WriteEnableAutoDial(on);
  return problems;
}

std::string AutoDialRegistration::RasProblem(const std::string& entry, int code) {
  if (code == 0)
    return "";
  return "The automatic-dial handler of the connection \"" + entry +
         "\" could not be changed: " + dialup_.StatusText(0, code);
}

std::string AutoDialRegistration::PutHandler(const std::string& entry) {
  std::string library, function;
  const int code = dialup_.GetEntryAutoDial(library, function);
  if (code != 0 || (SameText(library, Library()) && function == kAutoDialFunction))
    return RasProblem(entry, code);
  // Another program's handler is kept to be put back when the user turns ours off; one
  // that cannot be kept is not replaced.
  if (!library.empty() && !SameText(library, Library()) &&
      !(registry_.WriteText(RegRoot::CurrentUser, PreviousKey(entry), "Library", library) &&
        registry_.WriteText(RegRoot::CurrentUser, PreviousKey(entry), "Function", function))) {
    return "The connection \"" + entry + "\" keeps the automatic-dial handler " + library +
           ": the settings that would keep it for later cannot be written.";
  }
  return RasProblem(entry, dialup_.SetEntryAutoDial(Library(), kAutoDialFunction));
}

std::string AutoDialRegistration::TakeBackHandler(const std::string& entry) {
  std::string library, function;
  const int code = dialup_.GetEntryAutoDial(library, function);
  if (code != 0)
    return RasProblem(entry, code);
  std::string previous_library, previous_function;
  registry_.ReadText(RegRoot::CurrentUser, PreviousKey(entry), "Library", previous_library);
  registry_.ReadText(RegRoot::CurrentUser, PreviousKey(entry), "Function", previous_function);
  // Only a handler naming this copy is ours to change; what another program put there since
  // makes the remembered one stale.
  const int result = SameText(library, Library())
                         ? dialup_.SetEntryAutoDial(previous_library, previous_function)
                         : 0;
  if (result == 0)
    registry_.DeleteKey(RegRoot::CurrentUser, PreviousKey(entry));
  return RasProblem(entry, result);
}

// Values no current Windows reads, which versions before this one wrote; another copy's or
// another program's stay.
void AutoDialRegistration::RemoveOldValues(RegRoot root, const std::string& key) {
  std::string library;
  if (registry_.ReadText(root, key, "AutoDialDllName", library) != RegRead::Ok ||
      !SameText(library, Library()))
    return;
  registry_.DeleteValue(root, key, "AutoDialDllName");
  registry_.DeleteValue(root, key, "AutoDialFcnName");
}

void AutoDialRegistration::WriteEnableAutoDial(bool on) {
  const std::string off(4, '\0');
  std::string enabled = off;
  registry_.ReadBytes(RegRoot::CurrentUser, kInternetSettingsKey, "EnableAutoDial", enabled);
  // A portable copy writes the value only to turn automatic dialing on, or back off.
  if (on || !files_.Portable() || enabled != off) {
    registry_.WriteBinary(RegRoot::CurrentUser, kInternetSettingsKey, "EnableAutoDial",
                          on ? std::string("\x01\0\0\0", 4) : off);
  }
}
