// The connection list: the table behind it, its commands, the default connection, the
// automatic-dial registration and the phonebook watch.
#include "profiles/connection_list.h"

#include <algorithm>

#include "profiles/autodial_registration.h"

namespace {

constexpr const char* kRemoteAccessKey = "RemoteAccess";
constexpr const char* kDefaultConnectionValue = "InternetProfile";

}  // namespace

ConnectionList::ConnectionList(const MainPorts& ports, TDialUp& dialup, const AppSettings& settings,
                               ConnectionListView& view, ProblemReport& problems)
    : ports_(ports),
      dialup_(dialup),
      settings_(settings),
      view_(view),
      problems_(problems),
      store_(ports.profiles, ports.files, ports.locale) {}

void ConnectionList::Reset() {
  table_ = TAccountTable{};
  current_ = EntryInfo{};
  line_ = EntryInfo{};
  last_select_.clear();
  highlighted_.clear();
  watch_counter_ = 0;
  watch_due_ = false;
}

void ConnectionList::Build(bool initial) {
  // The rebuilt list shows no highlight, so none may outlive it.
  highlighted_.clear();
  const std::string default_name = ReadDefaultConnection();
  dialup_.GetEntries();
  for (const std::string& name : dialup_.Shadowed()) {
    if (shadowed_noted_.insert(name).second && OnNotice)
      OnNotice("The connection \"" + name +
               "\" is in the all-users phonebook and in your own; the list shows your own.");
  }
  const auto rename =
      BuildAccountTable(table_, dialup_.Entries(), initial, last_select_, default_name,
                        [this](const std::string& entry, AccountInfo& row) {
                          dialup_.Entry = entry;
                          current_ = LoadProfile(entry);
                          row.UserName = current_.UserName;
                          row.Pwd = current_.Pwd;
                        });
  if (rename)
    Renamed(*rename);
}

void ConnectionList::Renamed(const Rename& rename) {
  std::string error;
  if (!store_.CopyProfile(rename.from, rename.to, error))
    problems_.Say({error});
  dialup_.Entry = rename.to;
  const EntryInfo profile = LoadProfile(rename.to);
  for (AccountInfo& row : table_) {
    if (row.InUse && row.EntryName == rename.to) {
      row.UserName = profile.UserName;
      row.Pwd = profile.Pwd;
    }
  }
  if (OnRenamed)
    OnRenamed(rename.from, rename.to);
}

void ConnectionList::Fill() {
  std::vector<ConnectionRow> rows;
  for (const auto& row : table_) {
    if (!row.InUse)
      break;
    rows.push_back({row.EntryName, row.UserName, row.Selected, row.IsDefault});
  }
  view_.ShowConnections(rows);
  UseSelectedEntry();
}

void ConnectionList::LoadCurrentProfile() {
  current_ = LoadProfile(dialup_.Entry);
  ApplyProfile(current_, dialup_);
}

void ConnectionList::LoadLineProfile() {
  line_ = LoadProfile(dialup_.Entry);
  ApplyProfile(line_, dialup_);
}

EntryInfo ConnectionList::LoadProfile(const std::string& entry) {
  EntryInfo profile;
  profile.EntryName = entry;
  problems_.Say(store_.LoadProfile(profile, dialup_));
  return profile;
}

EntryInfo ConnectionList::ProfileOf(const std::string& entry) {
  if (current_.EntryName == entry)
    return current_;
  if (line_.EntryName == entry)
    return line_;
  return LoadProfile(entry);
}

std::vector<NumberDifference> ConnectionList::NumbersOtherThanPhonebook() {
  const std::string selected = dialup_.Entry;
  std::vector<NumberDifference> differences;
  for (const auto& row : table_) {
    if (!row.InUse)
      break;
    dialup_.Entry = row.EntryName;
    // The start-up's own load has said any problem of the file already.
    EntryInfo profile;
    profile.EntryName = row.EntryName;
    store_.LoadProfile(profile, dialup_);
    std::string phonebook;
    if (!profile.PN.empty() && dialup_.GetEntryPhoneNumber(phonebook) == 0 &&
        profile.PN != phonebook)
      differences.push_back({row.EntryName, profile.PN, phonebook});
  }
  dialup_.Entry = selected;
  return differences;
}

void ConnectionList::SaveBudgetWarned(const std::string& entry, int period) {
  EntryInfo marker;
  marker.EntryName = entry;
  marker.BudgetWarned = period;
  std::string error;
  if (!store_.SaveBudgetWarned(marker, error))
    problems_.Say({error});
  for (EntryInfo* held : {&current_, &line_}) {
    if (held->EntryName == entry)
      held->BudgetWarned = period;
  }
}

void ConnectionList::Refresh() {
  Build(false);
  Fill();
  LoadCurrentProfile();
}

bool ConnectionList::UseSelectedEntry() {
  const int selected = SelectedAccount(table_);
  if (selected < 0)
    return false;
  dialup_.Entry = table_[selected].EntryName;
  return true;
}

std::optional<std::string> ConnectionList::StartupEntry(int rule) const {
  for (const auto& row : table_) {
    if (!row.InUse)
      break;
    if (rule == 0 ? row.IsDefault : row.Selected)
      return row.EntryName;
  }
  return std::nullopt;
}

void ConnectionList::SelectItem(const std::string& caption) {
  int index = 0;
  while (index < kAccountRows && table_[index].InUse && table_[index].EntryName != caption)
    ++index;
  view_.MarkSelectedConnection(index);
  dialup_.Entry = caption;
  LoadCurrentProfile();
  highlighted_ = caption;
  SelectAccount(table_, caption);
}

bool ConnectionList::HasEntry(const std::string& entry) const {
  for (const auto& row : table_) {
    if (!row.InUse)
      return false;
    if (row.EntryName == entry)
      return true;
  }
  return false;
}

void ConnectionList::Property() {
  if (!UseSelectedEntry())
    return;
  current_ = LoadProfile(dialup_.Entry);
  PropertyDialogInput input;
  input.Profile = current_;
  input.DecimalSeparator = ports_.locale.DecimalSeparator();
  // Neither refreshes the list: the phonebook watch finds a new entry.
  input.NewConnection = [this](void* owner) { RunEntryDialog(owner, &TDialUp::CreateEntry); };
  input.EditConnection = [this](void* owner, const std::string& name) {
    return EditRenaming(owner, name);
  };
  input.Save = [this](const EntryInfo& profile) { return SaveProperty(profile); };
  const auto edited = view_.ShowPropertyDialog(input);
  if (!edited)
    return;
  current_ = *edited;
  Refresh();
}

std::string ConnectionList::EditRenaming(void* owner, const std::string& name) {
  dialup_.GetEntries();
  const std::vector<std::string> before = dialup_.Entries();
  dialup_.Entry = name;
  RunEntryDialog(owner, &TDialUp::EditEntry);
  dialup_.GetEntries();
  const std::vector<std::string>& after = dialup_.Entries();
  if (std::find(after.begin(), after.end(), name) != after.end())
    return name;
  // The entry is gone under its name: the one name that came in its place is its new one.
  std::vector<std::string> added;
  for (const std::string& entry : after) {
    if (std::find(before.begin(), before.end(), entry) == before.end())
      added.push_back(entry);
  }
  if (added.size() != 1)
    return name;
  dialup_.Entry = added[0];
  return added[0];
}

// The account goes to the entry the profile names, whatever the list selects meanwhile.
PropertySaved ConnectionList::SaveProperty(const EntryInfo& profile) {
  dialup_.GetEntries();
  const std::vector<std::string>& entries = dialup_.Entries();
  if (std::find(entries.begin(), entries.end(), profile.EntryName) == entries.end()) {
    return {PropertySaved::Gone, "The connection \"" + profile.EntryName +
                                     "\" no longer exists in the phonebook; nothing was saved."};
  }
  std::string error;
  if (!store_.SaveProfile(profile, error))
    return {PropertySaved::Failed, error};
  dialup_.Entry = profile.EntryName;
  ApplyProfile(profile, dialup_);
  if (line_.EntryName == profile.EntryName)
    line_ = LoadProfile(profile.EntryName);
  return {};
}

void ConnectionList::RunEntryDialog(void* owner, void (TDialUp::*dialog)()) {
  void* main_window = dialup_.OwnerWindow;
  dialup_.OwnerWindow = owner;
  (dialup_.*dialog)();
  dialup_.OwnerWindow = main_window;
}

void ConnectionList::New() {
  // The phonebook's own dialog, unowned as the system's tools open it.
  RunEntryDialog(nullptr, &TDialUp::CreateEntry);
  Refresh();
}

void ConnectionList::Edit() {
  UseSelectedEntry();
  dialup_.EditEntry();
  Refresh();
}

void ConnectionList::Delete() {
  // Ask about the entry that will be deleted: the selected row's, not whatever the
  // component last acted on.
  UseSelectedEntry();
  const std::string text = "Are you sure to delete the dial entry \"" + dialup_.Entry + "\"";
  if (!ports_.prompts.AskYesNo("Delete DialUp Entry", text))
    return;
  dialup_.DeleteEntry();
  Refresh();
}

void ConnectionList::SetDefault() {
  std::string name = highlighted_;
  if (name.empty() && UseSelectedEntry())
    name = dialup_.Entry;
  WriteDefaultConnection(name);
  Refresh();
  ports_.desktop.BroadcastSettingChange("Internet Settings");
}

std::string ConnectionList::ReadDefaultConnection() {
  std::string name;
  if (ports_.registry.ReadText(RegRoot::CurrentUser, kRemoteAccessKey, kDefaultConnectionValue,
                               name) != RegRead::Ok) {
    name.clear();
  }
  return name;
}

void ConnectionList::WriteDefaultConnection(const std::string& name) {
  ports_.registry.WriteText(RegRoot::CurrentUser, kRemoteAccessKey, kDefaultConnectionValue, name);
}

void ConnectionList::WriteAutoDialSettings() {
  problems_.Say(
      AutoDialRegistration(ports_.registry, ports_.files, dialup_).Write(settings_.CkbAutoDial));
}

void ConnectionList::Watch(bool dialog_open) {
  watch_counter_ = (watch_counter_ + 1) % 3;
  if (watch_counter_ == 0)
    watch_due_ = true;
  if (!watch_due_ || dialog_open)
    return;
  watch_due_ = false;
  dialup_.GetEntries();
  if (dialup_.Entries().empty())
    return;
  if (!TableMatchesPhonebook(table_, dialup_.Entries(), ReadDefaultConnection()))
    Refresh();
}
