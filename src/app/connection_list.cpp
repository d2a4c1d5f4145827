// The connection list: the table behind it, its commands, the default connection, the
// automatic-dial registration, the start-up dial and the phonebook watch.
#include "app/mainform.h"

namespace {

constexpr const char* kRemoteAccessKey = "RemoteAccess";
constexpr const char* kDefaultConnectionValue = "InternetProfile";
constexpr const char* kInternetSettingsKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr const char* kAutoDialLibrary = "tvndl.dll";
constexpr const char* kAutoDialFunction = "RASADFunc";

}  // namespace

void Tmainform::BuildAccountTable(bool initial) {
  const std::string default_name = ReadDefaultConnection();
  DialUp.GetEntries();
  ::BuildAccountTable(AccountTable, DialUp.Entries(), initial, Rt_LastSelect, default_name,
                      [this](const std::string& entry, AccountInfo& row) {
                        DialUp.Entry = entry;
                        CurrentProfile.EntryName = entry;
                        ReportProblems(profile_store_.LoadProfile(CurrentProfile, DialUp));
                        row.UserName = CurrentProfile.UserName;
                        row.Pwd = CurrentProfile.Pwd;
                      });
}

void Tmainform::FillConnectionList() {
  std::vector<ConnectionRow> rows;
  for (const auto& row : AccountTable) {
    if (!row.InUse)
      break;
    rows.push_back({row.EntryName, row.UserName, row.Selected, row.IsDefault});
  }
  view_.ShowConnections(rows);
  const int selected = SelectedAccount(AccountTable);
  if (selected >= 0)
    DialUp.Entry = AccountTable[selected].EntryName;
}

void Tmainform::LoadCurrentProfile() {
  CurrentProfile.EntryName = DialUp.Entry;
  ReportProblems(profile_store_.LoadProfile(CurrentProfile, DialUp));
  ApplyProfile(CurrentProfile, DialUp);
}

void Tmainform::RefreshConnections() {
  BuildAccountTable(false);
  FillConnectionList();
  LoadCurrentProfile();
}

void Tmainform::CnListSelectItem(const std::string& caption) {
  int index = 0;
  while (index < kAccountRows && AccountTable[index].InUse &&
         AccountTable[index].EntryName != caption) {
    ++index;
  }
  view_.MarkSelectedConnection(index);
  DialUp.Entry = caption;
  LoadCurrentProfile();
  HighlightedEntry = caption;
  SelectAccount(AccountTable, caption);
}

void Tmainform::CnListDblClick() {
  Property1Click();
}

void Tmainform::Property1Click() {
  const int selected = SelectedAccount(AccountTable);
  if (selected < 0)
    return;
  DialUp.Entry = AccountTable[selected].EntryName;
}

void Tmainform::New1Click() {
  // The phonebook's own dialog, unowned as the system's tools open it.
  void* owner = DialUp.OwnerWindow;
  DialUp.OwnerWindow = nullptr;
  DialUp.CreateEntry();
  DialUp.OwnerWindow = owner;
  RefreshConnections();
}

void Tmainform::Edit1Click() {
  const int selected = SelectedAccount(AccountTable);
  if (selected >= 0)
    DialUp.Entry = AccountTable[selected].EntryName;
  DialUp.EditEntry();
  RefreshConnections();
}

void Tmainform::Delete1Click() {
  // Ask about the entry that will be deleted: the selected row's, not whatever the
  // component last acted on.
  const int selected = SelectedAccount(AccountTable);
  if (selected >= 0)
    DialUp.Entry = AccountTable[selected].EntryName;
  const std::string text = "Are you sure to delete the dial entry \"" + DialUp.Entry + "\"";
  if (!ports_.prompts.AskYesNo("Delete DialUp Entry", text))
    return;
  DialUp.DeleteEntry();
  RefreshConnections();
}

void Tmainform::Refresh1Click() {
  RefreshConnections();
}

void Tmainform::SetDefault1Click() {
  std::string name = HighlightedEntry;
  if (name.empty()) {
    const int selected = SelectedAccount(AccountTable);
    if (selected >= 0) {
      name = AccountTable[selected].EntryName;
      DialUp.Entry = name;
    }
  }
  WriteDefaultConnection(name);
  RefreshConnections();
  ports_.desktop.BroadcastSettingChange("Internet Settings");
}

std::string Tmainform::ReadDefaultConnection() {
  std::string name;
  if (ports_.registry.ReadText(RegRoot::CurrentUser, kRemoteAccessKey, kDefaultConnectionValue,
                               name) != RegRead::Ok) {
    name.clear();
  }
  return name;
}

void Tmainform::WriteDefaultConnection(const std::string& name) {
  ports_.registry.WriteText(RegRoot::CurrentUser, kRemoteAccessKey, kDefaultConnectionValue, name);
}

void Tmainform::WriteAutoDialSettings() {
  const bool on = Settings.CkbAutoDial;
  DialUp.GetEntries();
  for (const auto& entry : DialUp.Entries()) {
    const std::string profile = "RemoteAccess\\Profile\\" + entry;
    WriteAutoDialValues(RegRoot::Users, ".DEFAULT\\" + profile, on);
    WriteAutoDialValues(RegRoot::CurrentUser, profile, on);
  }
  const std::string enable = on ? std::string("\x01\0\0\0", 4) : std::string(4, '\0');
  ports_.registry.WriteBinary(RegRoot::CurrentUser, kInternetSettingsKey, "EnableAutoDial", enable);
}

void Tmainform::WriteAutoDialValues(RegRoot root, const std::string& key, bool on) {
  if (!on) {
    ports_.registry.DeleteValue(root, key, "AutoDialDllName");
    ports_.registry.DeleteValue(root, key, "AutoDialFcnName");
    return;
  }
  const bool written = ports_.registry.WriteText(root, key, "AutoDialDllName",
                                                 ports_.files.ExeDir() + kAutoDialLibrary) &&
                       ports_.registry.WriteText(root, key, "AutoDialFcnName", kAutoDialFunction);
  // The machine-wide keys need rights the user may not have; the user's own keys and
  // EnableAutoDial are written all the same, and the refusal is said once.
  if (!written) {
    const char* where = root == RegRoot::Users ? "HKEY_USERS\\.DEFAULT\\RemoteAccess\\Profile"
                                               : "HKEY_CURRENT_USER\\RemoteAccess\\Profile";
    ReportProblems({std::string("The automatic-dial registration could not be written under ") +
                    where + ": access was refused."});
  }
}

void Tmainform::ConnectOnStartup() {
  for (const auto& arg : args_) {
    if (arg != kAutoDialArgument)
      continue;
    if (!Online && !Dialing) {
      Dial1Click();
      return;
    }
    break;
  }
  if (Settings.CkbConnectOnStartup)
    DialSelectedOnStartup();
}

void Tmainform::DialSelectedOnStartup() {
  for (const auto& row : AccountTable) {
    if (!row.InUse)
      break;
    const bool wanted = Settings.RgConnectOnStartup == 0 ? row.IsDefault : row.Selected;
    if (!wanted)
      continue;
    DialUp.Entry = row.EntryName;
    LastDialedEntry = DialUp.Entry;
    UserHungUp = false;
    RedialTimer->SetInterval(Settings.UdRedialAfter * 1000);
    PerformActions(PerformAt::BeforeDialing);
    StartDial();
    return;
  }
}

void Tmainform::WatchConnections() {
  WatchCounter = (WatchCounter + 1) % 3;
  if (WatchCounter != 0)
    return;
  DialUp.GetEntries();
  if (DialUp.Entries().empty())
    return;
  if (!TableMatchesPhonebook(AccountTable, DialUp.Entries(), ReadDefaultConnection())) {
    Refresh1Click();
  }
}
