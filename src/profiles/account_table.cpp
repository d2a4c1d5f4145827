// The connection table.
#include "profiles/account_table.h"

#include <algorithm>

namespace {

// The previous build's in-use row of that name, if any.
const AccountInfo* FindRow(const TAccountTable& table, const std::string& name) {
  for (const auto& row : table) {
    if (!row.InUse)
      break;
    if (row.EntryName == name)
      return &row;
  }
  return nullptr;
}

}  // namespace

int SelectedAccount(const TAccountTable& table) {
  for (int i = 0; i < kAccountRows && table[i].InUse; ++i) {
    if (table[i].Selected)
      return i;
  }
  return -1;
}

void BuildAccountTable(TAccountTable& table, const std::vector<std::string>& entries, bool initial,
                       const std::string& last_select, const std::string& default_name,
                       const ProfileReader& read_profile) {
  const TAccountTable previous = table;
  table = TAccountTable{};
  const size_t count = std::min(entries.size(), static_cast<size_t>(kAccountRows));
  for (size_t i = 0; i < count; ++i) {
    AccountInfo& row = table[i];
    const AccountInfo* old = initial ? nullptr : FindRow(previous, entries[i]);
    if (old)
      row = *old;  // its counters and its selection
    row.InUse = true;
    row.EntryName = entries[i];
    read_profile(row.EntryName, row);
    if (initial)
      row.Selected = row.EntryName == last_select;
    row.IsDefault = row.EntryName == default_name;
  }
  if (count > 0 && SelectedAccount(table) < 0)
    table[0].Selected = true;
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
    if (!FindRow(table, entries[i]))
      return false;
  }
  return table_default == default_name;
}
