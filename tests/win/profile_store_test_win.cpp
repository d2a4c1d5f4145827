// ProfileStore through the system's profile-string functions into a real Entries.ini.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "dialup/dialup.h"
#include "folder_files.h"
#include "platform/win_ports.h"
#include "profiles/profile_store.h"

namespace {

using Texts = std::vector<std::string>;

std::string TempFolder() {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string dir =
      std::string(temp) + "tarvolin-profiles-" + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(dir.c_str(), nullptr);
  return dir;
}

// The key names of a section as they stand in the file's lines.
Texts KeysInFile(const std::string& path, const std::string& section) {
  std::ifstream in(path);
  Texts keys;
  bool inside = false;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with('[')) {
      inside = line.starts_with("[" + section + "]");
    } else if (inside && line.find('=') != std::string::npos) {
      keys.push_back(line.substr(0, line.find('=')));
    }
  }
  return keys;
}

class ProfileStoreWin : public testing::Test {
 protected:
  ~ProfileStoreWin() override {
    DeleteFileA(store_.Path().c_str());
    RemoveDirectoryA(dir_.c_str());
  }

  const std::string dir_ = TempFolder();
  FolderFiles files_{dir_};
  std::unique_ptr<ProfileFile> ini_ = MakeWinProfileFile();
  std::unique_ptr<Locale> locale_ = MakeWinLocale();
  ProfileStore store_{*ini_, files_, *locale_};
  std::unique_ptr<LibraryLoader> loader_ = MakeWinLibraryLoader();
  RasApi ras_{*loader_};
  std::unique_ptr<UiLoop> ui_ = MakeWinUiLoop();
  std::unique_ptr<Clock> clock_ = MakeWinClock();
  TDialUp dialup_{ras_, *ui_, *clock_};
  std::string error_;
};

TEST_F(ProfileStoreWin, SavedKeysStandInTableOrderAndEveryFieldLoadsBack) {
  EntryInfo saved;
  saved.EntryName = "Alpha";
  saved.UserName = " 'alice' ";  // the system trims blanks and strips quotes around values
  saved.Pwd = " \"'";
  for (char c = ' '; c <= '~'; ++c) {
    saved.Pwd += c;
  }
  saved.Pwd += "'\" ";
  saved.Domain = "\"CORP\"";
  saved.PulseDial = true;
  saved.PN = "555-0199";
  Texts numbers;  // long enough to outgrow a first read buffer
  for (int i = 0; i < 500; ++i) {
    numbers.push_back("555-" + std::to_string(1000 + i));
  }
  saved.PNList = JoinPhoneList(numbers);
  saved.Rates = {
      1.5, 0.25, true, {{true, 1234.5, 8, 18}, {false, 0.1, 18, 22}, {true, 3, 22, 24}}, 17};
  saved.Rates.FreeFrom = 23 * 60;
  saved.Rates.FreeTo = 7 * 60 + 30;
  saved.Limit = {40, 12.5, 1500.5};
  saved.BudgetWarned = 46000;
  ASSERT_TRUE(store_.SaveProfile(saved, error_)) << error_;
  ASSERT_TRUE(store_.SaveBudgetWarned(saved, error_)) << error_;

  const Texts table_order = {"UserName",       "Pwd",
                             "Domain",         "PN",
                             "PulseDial",      "PNList",
                             "GeneralRate",    "WeekendRate",
                             "WeekendEnabled", "Section1Enabled",
                             "Section1Rate",   "Section1RateFrom",
                             "Section1RateTo", "Section2Enabled",
                             "Section2Rate",   "Section2RateFrom",
                             "Section2RateTo", "Section3Enabled",
                             "Section3Rate",   "Section3RateFrom",
                             "Section3RateTo", "BillingDay",
                             "BudgetHours",    "BudgetMoney",
                             "BudgetVolume",   "FreeHoursFrom",
                             "FreeHoursTo",    "BudgetWarned"};
  EXPECT_EQ(table_order, KeysInFile(store_.Path(), "Alpha"));

  dialup_.Entry = "Alpha";
  EntryInfo loaded;
  loaded.EntryName = "Alpha";
  EXPECT_EQ(Texts{}, store_.LoadProfile(loaded, dialup_));
  EXPECT_EQ(saved.Pwd, loaded.Pwd);
  EXPECT_TRUE(saved == loaded);
}

TEST_F(ProfileStoreWin, ASaveTheSystemRefusesNamesTheFile) {
  FolderFiles missing(dir_ + "missing\\");
  ProfileStore store(*ini_, missing, *locale_);
  EntryInfo info;
  info.EntryName = "Alpha";
  EXPECT_FALSE(store.SaveProfile(info, error_));
  EXPECT_NE(std::string::npos, error_.find(store.Path())) << error_;
}

}  // namespace
