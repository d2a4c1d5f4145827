// The connection table: builds, rebuilds, selection and the phonebook comparison.
#include "profiles/account_table.h"

#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::string>;

// Profiles give every entry the user name "user-" + entry.
void ReadProfile(const std::string& entry, AccountInfo& row) {
  row.UserName = "user-" + entry;
  row.Pwd = "pw";
}

Names InUse(const TAccountTable& table) {
  Names names;
  for (const auto& row : table) {
    if (!row.InUse)
      break;
    names.push_back(row.EntryName);
  }
  return names;
}

TEST(AccountTable, FirstBuildSelectsTheLastSelectedEntryOrTheFirst) {
  TAccountTable table;
  BuildAccountTable(table, {"A", "B", "C"}, true, "B", "C", ReadProfile);
  EXPECT_EQ(InUse(table), (Names{"A", "B", "C"}));
  EXPECT_EQ(SelectedAccount(table), 1);
  EXPECT_EQ(table[0].UserName, "user-A");
  EXPECT_FALSE(table[1].IsDefault);
  EXPECT_TRUE(table[2].IsDefault);
  EXPECT_FALSE(table[3].InUse);

  BuildAccountTable(table, {"A", "B"}, true, "Gone", "c", ReadProfile);  // default: case differs
  EXPECT_EQ(SelectedAccount(table), 0);
  EXPECT_FALSE(table[0].IsDefault || table[1].IsDefault);

  BuildAccountTable(table, {}, true, "A", "", ReadProfile);
  EXPECT_EQ(SelectedAccount(table), -1);
  EXPECT_FALSE(table[0].InUse);
}

TEST(AccountTable, RebuildKeepsSelectionTimesAndExpensesByName) {
  TAccountTable table;
  BuildAccountTable(table, {"A", "B"}, true, "B", "", ReadProfile);
  table[1].SessionTime = 0.5;
  table[1].TodayTime = 1.5;
  table[1].BillingTime = 2.5;
  table[1].SessionExpense = 8;
  table[1].TodayExpense = 9;
  table[1].BillingExpense = 10;
  // A new entry lands before the selected one.
  BuildAccountTable(table, {"A", "New", "B"}, false, "A", "", ReadProfile);
  EXPECT_EQ(SelectedAccount(table), 2);
  EXPECT_EQ(table[2].EntryName, "B");
  EXPECT_EQ(table[2].SessionTime, 0.5);
  EXPECT_EQ(table[2].TodayTime, 1.5);
  EXPECT_EQ(table[2].BillingTime, 2.5);
  EXPECT_EQ(table[2].SessionExpense, 8);  // not zeroed, or a session ending now costs 0
  EXPECT_EQ(table[2].TodayExpense, 9);
  EXPECT_EQ(table[2].BillingExpense, 10);
  EXPECT_EQ(table[1].SessionTime, 0);

  // The selected entry was deleted: the first row takes the selection.
  BuildAccountTable(table, {"A", "New"}, false, "", "", ReadProfile);
  EXPECT_EQ(SelectedAccount(table), 0);

  SelectAccount(table, "New");
  EXPECT_FALSE(table[0].Selected);
  EXPECT_EQ(SelectedAccount(table), 1);
}

TEST(AccountTable, OnlyTheFirstHundredEntriesGetRowsAndTheyStillMatchThePhonebook) {
  Names many;
  for (int i = 0; i < 130; ++i)
    many.push_back("Entry " + std::to_string(i));
  TAccountTable table;
  BuildAccountTable(table, many, true, "Entry 120", "Entry 99", ReadProfile);
  EXPECT_EQ(InUse(table).size(), 100u);
  EXPECT_EQ(table[99].EntryName, "Entry 99");
  EXPECT_TRUE(table[99].IsDefault);
  EXPECT_EQ(SelectedAccount(table), 0);  // the saved selection is past the table
  EXPECT_TRUE(TableMatchesPhonebook(table, many, "Entry 99"));
}

// Rows follow their entry: through one listing that missed it, through a rename, and out
// of the table only when there is no room past the rows in use.
TEST(AccountTable, ARebuildKeepsAMissedEntrysCountersAwayAndCarriesThemThroughARename) {
  TAccountTable table;
  BuildAccountTable(table, {"A", "B", "C"}, true, "B", "", ReadProfile);
  table[1].BillingTime = 2;
  table[1].BudgetBytes = 7;
  table[2].TodayTime = 3;

  EXPECT_FALSE(BuildAccountTable(table, {"A"}, false, "", "", ReadProfile));
  EXPECT_EQ(InUse(table), (Names{"A"}));
  EXPECT_EQ(SelectedAccount(table), 0);
  EXPECT_TRUE(table[1].Away && table[2].Away);
  EXPECT_FALSE(table[1].Selected || table[1].InUse);
  EXPECT_EQ(table[1].BillingTime, 2);
  EXPECT_TRUE(TableMatchesPhonebook(table, {"A"}, ""));
  EXPECT_FALSE(TableMatchesPhonebook(table, {"A", "B"}, ""));  // away is not listed

  // B comes back with its counters; C stays away, and the slot after it is free.
  EXPECT_FALSE(BuildAccountTable(table, {"B", "A"}, false, "", "", ReadProfile));
  EXPECT_EQ(InUse(table), (Names{"B", "A"}));
  EXPECT_FALSE(table[0].Away);
  EXPECT_EQ(table[0].BillingTime, 2);
  EXPECT_EQ(table[0].UserName, "user-B");
  EXPECT_EQ(table[2].EntryName, "C");
  EXPECT_EQ(table[2].TodayTime, 3);
  EXPECT_FALSE(Counted(table[3]));

  // One entry gone and one new: a rename, which keeps B's counters and its selection.
  SelectAccount(table, "B");
  const auto rename = BuildAccountTable(table, {"B2", "A"}, false, "", "", ReadProfile);
  ASSERT_TRUE(rename);
  EXPECT_EQ(rename->from, "B");
  EXPECT_EQ(rename->to, "B2");
  EXPECT_EQ(table[0].EntryName, "B2");
  EXPECT_EQ(table[0].BudgetBytes, 7u);
  EXPECT_TRUE(table[0].Selected);
  EXPECT_EQ(table[0].UserName, "user-B2");
  EXPECT_EQ(table[2].EntryName, "C");  // still away, not taken for the new name

  // Two gone and two new is no rename: both wait away, the new ones start at 0.
  EXPECT_FALSE(BuildAccountTable(table, {"X", "Y"}, false, "", "", ReadProfile));
  EXPECT_EQ(table[0].BillingTime, 0);
  EXPECT_EQ(table[2].EntryName, "B2");  // the rows that just went come first
  EXPECT_EQ(table[4].EntryName, "C");

  // A full table has no room for rows away: they are gone when their entries return.
  Names many;
  for (int i = 0; i < 100; ++i)
    many.push_back("Entry " + std::to_string(i));
  BuildAccountTable(table, many, false, "", "", ReadProfile);
  EXPECT_TRUE(table[99].InUse);
  BuildAccountTable(table, {"B2", "C"}, false, "", "", ReadProfile);
  EXPECT_EQ(table[0].BillingTime, 0);
  EXPECT_EQ(table[1].TodayTime, 0);
}

TEST(AccountTable, TheWatchSeesAddedRemovedRenamedEntriesAndADefaultChange) {
  TAccountTable table;
  BuildAccountTable(table, {"A", "B"}, true, "", "B", ReadProfile);
  EXPECT_TRUE(TableMatchesPhonebook(table, {"B", "A"}, "B"));  // order alone is no change
  EXPECT_FALSE(TableMatchesPhonebook(table, {"A", "B", "C"}, "B"));
  EXPECT_FALSE(TableMatchesPhonebook(table, {"A"}, "B"));
  EXPECT_FALSE(TableMatchesPhonebook(table, {"A", "C"}, "B"));
  EXPECT_FALSE(TableMatchesPhonebook(table, {"A", "B"}, "A"));
  // A stored default that names no entry exactly never matches, so the watch keeps
  // rebuilding while it lasts.
  BuildAccountTable(table, {"A", "B"}, true, "", "b", ReadProfile);
  EXPECT_FALSE(TableMatchesPhonebook(table, {"A", "B"}, "b"));
  BuildAccountTable(table, {"A", "B"}, true, "", "", ReadProfile);
  EXPECT_TRUE(TableMatchesPhonebook(table, {"A", "B"}, ""));
}

}  // namespace
