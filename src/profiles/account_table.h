// The connection table: one row per phonebook entry, with its account, its time and
// expense counters and the selected and default marks.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct AccountInfo {
  std::string EntryName;
  std::string UserName;  // the profile's, when the table was built
  std::string Pwd;
  double SessionTime = 0;  // days
  double TodayTime = 0;
  double BillingTime = 0;
  long double SessionExpense = 0;
  long double TodayExpense = 0;
  long double BillingExpense = 0;
  bool IsDefault = false;
  bool Selected = false;
  bool InUse = false;
  // Left the phonebook at a rebuild: the row is kept past the rows in use, its counters
  // still counted, until the entry comes back.
  bool Away = false;
  uint64_t BillingBytes = 0;  // received and sent
  // The billing period's counters less what fell in the free hours: what the budget counts.
  double BudgetTime = 0;
  long double BudgetExpense = 0;
  uint64_t BudgetBytes = 0;
};

// Rows in use run unbroken from row 0, in phonebook order; entries past the 100th are
// not represented. Rows away follow them, as room allows.
constexpr int kAccountRows = 100;
using TAccountTable = std::array<AccountInfo, kAccountRows>;

// Whether the row's counters run: it is in use or away.
inline bool Counted(const AccountInfo& row) {
  return row.InUse || row.Away;
}

// The first in-use row marked selected, or -1.
int SelectedAccount(const TAccountTable& table);

// Fills `row`'s UserName and Pwd from the entry's profile.
using ProfileReader = std::function<void(const std::string& entry, AccountInfo& row)>;

struct Rename {
  std::string from, to;
};

// Rebuilds the table from the phonebook's entries. The first build selects the entry
// named `last_select` and starts every counter at 0. Later builds keep each entry's
// selection and counters by name, and rows away come back with their entry; a row whose
// entry is gone is kept away (the newest first, as room allows past the rows in use), so
// an entry missed by one listing keeps its period's counters. When exactly one entry
// went and exactly one new name came, the entry was renamed: its row takes the new name,
// and the rename is returned. Without a selected entry the first row is selected. Names
// are compared exactly, letter case included.
std::optional<Rename> BuildAccountTable(TAccountTable& table,
                                        const std::vector<std::string>& entries, bool initial,
                                        const std::string& last_select,
                                        const std::string& default_name,
                                        const ProfileReader& read_profile);

// Marks the entry named `name` as the only selected row.
void SelectAccount(TAccountTable& table, const std::string& name);

// Whether the table still shows the phonebook: the same number of entries (of the first
// 100), every one of them present, and the same default connection.
bool TableMatchesPhonebook(const TAccountTable& table, const std::vector<std::string>& entries,
                           const std::string& default_name);
