// The connection table.
#include "profiles/account_table.h"

#include <algorithm>
#include <optional>

namespace {

// The previous build's row of that name, in use or away, if any.
const AccountInfo* FindRow(const TAccountTable& table, const std::string& name) {
  for (const auto& row : table) {
    if (Counted(row) && row.EntryName == name)
      return &row;
  }
  return nullptr;
}

bool Listed(const std::vector<std::string>& shown, const std::string& name) {
  return std::ranges::find(shown, name) != shown.end();
}

// A rebuild's rename: the one row in use whose entry went, and the one entry that is new.
std::optional<Rename> FindRename(const TAccountTable& previous,
                                 const std::vector<std::string>& shown) {
  std::vector<std::string> gone, added;
  for (const auto& row : previous) {
    if (!row.InUse)
      break;
    if (!Listed(shown, row.EntryName))
      gone.push_back(row.EntryName);
  }
  for (const std::string& entry : shown) {
    if (!FindRow(previous, entry))
      added.push_back(entry);
  }
  if (gone.size() != 1 || added.size() != 1)
    return std::nullopt;
  return Rename{gone[0], added[0]};
}

// Keeps the previous rows whose entries are gone, and were not renamed, past the rows in
// use from `slot` on: those in use until now first, then those away already.
void KeepAway(TAccountTable& table, size_t slot, const TAccountTable& previous,
              const std::vector<std::string>& shown, const std::optional<Rename>& rename) {
  for (const bool was_in_use : {true, false}) {
    for (const AccountInfo& row : previous) {
      if (slot == table.size())
        return;
      if (!Counted(row) || row.InUse != was_in_use || Listed(shown, row.EntryName) ||
          (rename && row.EntryName == rename->from))
        continue;
      AccountInfo& away = table[slot++];
      away = row;
      away.InUse = away.Selected = away.IsDefault = false;
      away.Away = true;
    }
  }
}

}  // namespace

int SelectedAccount(const TAccountTable& table) {
  for (int i = 0; i < kAccountRows && table[i].InUse; ++i) {
    if (table[i].Selected)
      return i;
  }
  return -1;
}

std::optional<Rename> BuildAccountTable(TAccountTable& table,
                                        const std::vector<std::string>& entries, bool initial,
                                        const std::string& last_select,
                                        const std::string& default_name,
                                        const ProfileReader& read_profile) {
  const TAccountTable previous = table;
  table = TAccountTable{};
  const size_t count = std::min(entries.size(), static_cast<size_t>(kAccountRows));
  const std::vector<std::string> shown(entries.begin(), entries.begin() + count);
  const std::optional<Rename> rename = initial ? std::nullopt : FindRename(previous, shown);
  for (size_t i = 0; i < count; ++i) {
    AccountInfo& row = table[i];
    const std::string& kept_as = rename && shown[i] == rename->to ? rename->from : shown[i];
    const AccountInfo* old = initial ? nullptr : FindRow(previous, kept_as);
    if (old)
      row = *old;  // its counters and its selection
    row.InUse = true;
    row.Away = false;
    row.EntryName = shown[i];
    read_profile(row.EntryName, row);
    if (initial)
      row.Selected = row.EntryName == last_select;
    row.IsDefault = row.EntryName == default_name;
  }
  if (!initial)
    KeepAway(table, count, previous, shown, rename);
  if (count > 0 && SelectedAccount(table) < 0)
    table[0].Selected = true;
  return rename;
}

void SelectAccount(TAccountTable& table, const std::string& name) {
  for (auto& row : table) {
    if (!row.InUse)
      break;
    row.Selected = row.EntryName == name;
  }
}

bool TableMatchesPhonebook(const TAccountTable& table, const std::vector<std::string>& entries,
                           const std::string& default_name) {
  size_t rows = 0;
  std::string table_default;
  for (; rows < table.size() && table[rows].InUse; ++rows) {
    if (table[rows].IsDefault)
      table_default = table[rows].EntryName;
  }
  // Entries past the 100th never get a row, so they cannot make the table stale.
  const size_t shown = std::min(entries.size(), static_cast<size_t>(kAccountRows));
  if (shown != rows)
    return false;
  for (size_t i = 0; i < shown; ++i) {
    const AccountInfo* row = FindRow(table, entries[i]);
    if (!row || !row->InUse)
      return false;
  }
  return table_default == default_name;
}
