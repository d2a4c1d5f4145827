// ProfileStore against an in-memory Entries.ini and the RAS substitute's phonebook.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "dialup/dialup.h"
#include "fakes/fake_app_ports.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_profile_file.h"
#include "fakes/fake_ui_loop.h"
#include "fakes/rassim_loader.h"
#include "fakes/temp_phonebook.h"
#include "profiles/profile_store.h"
#include "settings/password.h"

static void PrintTo(const EntryInfo& info, std::ostream* out) {
  const RatePlan& r = info.Rates;
  *out << "{" << info.EntryName << ", " << info.UserName << ", \"" << info.Pwd << "\", "
       << info.Domain << ", " << info.PulseDial << ", " << info.PN << ", " << info.PNList << ", "
       << r.GeneralRate << ", " << r.WeekendRate << ", " << r.WeekendEnabled;
  for (const RateSection& s : r.Sections) {
    *out << ", {" << s.Enabled << " " << s.Rate << " " << s.From << "-" << s.To << "}";
  }
  *out << ", " << r.BillingDay << "}";
}

namespace {

using Texts = std::vector<std::string>;

const Texts kTableOrder = {"UserName",       "Pwd",
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

// A profile with nothing but its name and account.
EntryInfo Account(const std::string& entry, const std::string& user = "",
                  const std::string& password = "") {
  EntryInfo info;
  info.EntryName = entry;
  info.UserName = user;
  info.Pwd = password;
  return info;
}

// Every field set, the password with blanks and quotes at its ends, and a number that is
// not in the list.
EntryInfo Sample() {
  EntryInfo info = Account("Alpha", "alice", " \"p w'\" ");
  info.Domain = "CORP";
  info.PulseDial = true;
  info.PN = "555-0199";
  info.PNList = "555-0101^^555-0202^^";
  info.Rates = {
      1.5, 0.25, true, {{true, 1234.5, 8, 18}, {false, 0.1, 18, 22}, {true, 3, 22, 24}}, 17};
  info.Limit = {40, 12.5};
  return info;
}

class ProfileStoreTest : public testing::Test {
 protected:
  ProfileStoreTest() { dialup.Entry = "Alpha"; }

  std::string Stored(const std::string& key) { return ini.Read(path, "Alpha", key, "(none)"); }

  TempPhonebook phonebook{""};
  RassimLoader loader;
  RasApi ras{loader};
  FakeClock clock;
  FakeUiLoop ui{clock};
  TDialUp dialup{ras, ui, clock};
  FakeFiles files;
  FakeProfileFile ini{files};
  FakeLocale locale;
  ProfileStore store{ini, files, locale};
  const std::string path = store.Path();
  std::string error;
};

TEST_F(ProfileStoreTest, SaveWritesEveryKeyInTableOrderAndLeavesOtherSectionsAlone) {
  EXPECT_EQ(files.ExeDir() + "Entries.ini", path);
  files.content[path] = "[Other]\r\nPN=1\r\n";
  ASSERT_TRUE(store.SaveProfile(Sample(), error));
  EXPECT_EQ(Texts(kTableOrder.begin(), kTableOrder.end() - 1), ini.Keys(path, "Alpha"));
  EXPECT_EQ(Texts{"PN"}, ini.Keys(path, "Other"));
  EXPECT_EQ("1", ini.Read(path, "Other", "PN", ""));
  EXPECT_EQ(EncodePassword(Sample().Pwd), Stored("Pwd"));
  EXPECT_EQ("1", Stored("PulseDial"));
  EXPECT_EQ("0", Stored("Section2Enabled"));
  EXPECT_EQ("17", Stored("BillingDay"));
  EXPECT_EQ("12.5", Stored("BudgetMoney"));

  // The budget's warning is written on its own: nothing else of the record goes out, and
  // the rest is saved without it.
  EntryInfo changed = Sample();
  changed.UserName = "mallory";
  changed.BudgetWarned = 46031;
  ASSERT_TRUE(store.SaveBudgetWarned(changed, error));
  EXPECT_EQ("46031", Stored("BudgetWarned"));
  EXPECT_EQ("alice", Stored("UserName"));
  EXPECT_EQ(kTableOrder, ini.Keys(path, "Alpha"));
  changed.BudgetWarned = 46000;
  ASSERT_TRUE(store.SaveProfile(changed, error));
  EXPECT_EQ("46031", Stored("BudgetWarned"));
  EXPECT_EQ("mallory", Stored("UserName"));
}

TEST_F(ProfileStoreTest, RealsAreWrittenShortWithTheUsersSeparatorAndReadUnderEither) {
  const std::pair<double, std::string> forms[] = {
      {0, "0"}, {1.5, "1.5"}, {0.25, "0.25"}, {1234.5, "1234.5"}, {0.1, "0.1"}};
  for (const char written : {'.', ','}) {
    for (const auto& [rate, form] : forms) {
      locale.decimal = written;
      EntryInfo info = Sample();
      info.Rates.WeekendRate = rate;
      ASSERT_TRUE(store.SaveProfile(info, error));
      std::string expected = form;
      std::ranges::replace(expected, '.', written);
      EXPECT_EQ(expected, Stored("WeekendRate"));
      for (const char reading : {'.', ','}) {
        locale.decimal = reading;
        EntryInfo loaded = Account("Alpha");
        EXPECT_EQ(Texts{}, store.LoadProfile(loaded, dialup));
        EXPECT_EQ(info, loaded) << "written with '" << written << "', read with '" << reading
                                << "'";
      }
    }
  }
}

TEST_F(ProfileStoreTest, TextsWithBlanksOrQuotesAtTheirEndsLoadBackAsSaved) {
  EntryInfo info = Sample();
  info.UserName = " alice ";
  info.Domain = "\"CORP\"";
  info.PN = "'555-0199'";
  info.PNList = "\t555-0101^^";
  // Encoded, these two characters of the ANSI code page end up a blank and a quote.
  info.Pwd = "\x9Fpass\xA1";
  ASSERT_TRUE(store.SaveProfile(info, error));
  EntryInfo loaded = Account("Alpha");
  EXPECT_EQ(Texts{}, store.LoadProfile(loaded, dialup));
  EXPECT_EQ(info, loaded);
}

// A renamed entry gets the old one's section, blanks and quotes and all, unless it has one.
TEST_F(ProfileStoreTest, ACopyGivesTheNewNameTheOldProfileOnlyWhenItHasNone) {
  EntryInfo info = Sample();
  info.UserName = " alice ";
  info.Domain = "\"CORP\"";
  info.Pwd = "\x9Fpass\xA1";
  ASSERT_TRUE(store.SaveProfile(info, error));
  ASSERT_TRUE(store.CopyProfile("alpha", "Beta", error));  // sections match in any case
  EntryInfo beta = Account("Beta");
  EXPECT_EQ(Texts{}, store.LoadProfile(beta, dialup));
  info.EntryName = "Beta";
  EXPECT_EQ(info, beta);

  EntryInfo changed = Sample();
  changed.UserName = "mallory";
  ASSERT_TRUE(store.SaveProfile(changed, error));
  EXPECT_TRUE(store.CopyProfile("Alpha", "BETA", error));
  EXPECT_TRUE(store.CopyProfile("Gone", "Gamma", error));
  EXPECT_EQ(" alice ", ini.Read(path, "Beta", "UserName", ""));
  EXPECT_EQ((Texts{"Alpha", "Beta"}), ini.Sections(path));

  ini.writes_left = 0;
  EXPECT_FALSE(store.CopyProfile("Alpha", "Delta", error));
  EXPECT_NE(std::string::npos, error.find(path)) << error;
}

TEST_F(ProfileStoreTest, WithoutTheFileTheAccountStillComesFromThePhonebookAndTheRatesClear) {
  phonebook.Write("[Alpha]\nUserName=ras-user\nPassword=ras-pw\nPasswordStored=1\n");
  EntryInfo info = Sample();
  EXPECT_EQ(Texts{}, store.LoadProfile(info, dialup));
  EXPECT_EQ(Account("Alpha", "ras-user"), info);  // RAS gives no password, only its handle
  EXPECT_FALSE(files.Exists(path));

  info = Sample();
  info.EntryName = "";
  const EntryInfo unnamed = info;
  files.content[path] = "[]\r\nUserName=nobody\r\n";
  EXPECT_EQ(Texts{}, store.LoadProfile(info, dialup));
  EXPECT_EQ(unnamed, info);
}

TEST_F(ProfileStoreTest, WithoutASectionTheAccountComesFromThePhonebookAndTheRestIsZero) {
  phonebook.Write(
      "[Alpha]\nUserName=ras-user\nPassword=ras-pw\nPasswordStored=1\n"
      "[Beta]\nUserName=ras-beta\nPassword=hidden\nPasswordStored=0\n");
  files.content[path] = "[Other]\r\nDomain=X\r\nBillingDay=3\r\n";
  EntryInfo info = Sample();
  EXPECT_EQ(Texts{}, store.LoadProfile(info, dialup));
  EXPECT_EQ(Account("Alpha", "ras-user"), info);  // RAS gives no password, only its handle

  // The file's account wins; a password the phonebook does not keep stays empty.
  files.content[path] = "[beta]\r\nusername=file-user\r\n";
  dialup.Entry = "Beta";
  info = Account("Beta");
  EXPECT_EQ(Texts{}, store.LoadProfile(info, dialup));
  EXPECT_EQ(Account("Beta", "file-user"), info);
}

TEST_F(ProfileStoreTest, NumbersAreReadLeniently_AndABadRealIsReportedWhileTheRestLoads) {
  files.content[path] =
      "[alpha]\r\n"
      "PulseDial=2\r\n"
      "GeneralRate=abc\r\n"
      "WeekendRate= \"2,5\" \r\n"
      "WeekendEnabled=yes\r\n"
      "Section1Enabled=0x0\r\n"
      "Section1Rate=1.2.3\r\n"
      "Section1RateFrom=0X10\r\n"
      "Section1RateTo=+7\r\n"
      "Section2Enabled=-1\r\n"
      "Section2Rate=+0,75\r\n"
      "Section2RateFrom=-3\r\n"
      "Section2RateTo=12abc\r\n"
      "Section3Rate=1e999\r\n"
      "Section3RateTo=99999999999\r\n"
      "BillingDay=0x1F\r\n";
  EntryInfo info = Sample();
  const Texts problems = store.LoadProfile(info, dialup);

  auto problem = [&](const std::string& key, const std::string& text) {
    return path + ", section [Alpha], key " + key + ": \"" + text +
           "\" is not a number; 0 is used.";
  };
  EXPECT_EQ((Texts{problem("GeneralRate", "abc"), problem("Section1Rate", "1.2.3"),
                   problem("Section3Rate", "1e999")}),
            problems);
  const RatePlan& rates = info.Rates;
  EXPECT_TRUE(info.PulseDial);
  EXPECT_EQ(0, rates.GeneralRate);
  EXPECT_EQ(2.5, rates.WeekendRate);
  EXPECT_FALSE(rates.WeekendEnabled);
  EXPECT_FALSE(rates.Sections[0].Enabled);
  EXPECT_EQ(0, rates.Sections[0].Rate);
  EXPECT_EQ(16, rates.Sections[0].From);
  EXPECT_EQ(7, rates.Sections[0].To);
  EXPECT_TRUE(rates.Sections[1].Enabled);
  EXPECT_EQ(0.75, rates.Sections[1].Rate);
  EXPECT_EQ(-3, rates.Sections[1].From);
  EXPECT_EQ(0, rates.Sections[1].To);
  EXPECT_EQ(0, rates.Sections[2].Rate);
  EXPECT_EQ(0, rates.Sections[2].To);
  EXPECT_EQ(31, rates.BillingDay);
}

TEST_F(ProfileStoreTest, ARefusedWriteStopsTheSaveAndNamesTheFile) {
  files.content[path] = "[Alpha]\r\nBillingDay=5\r\n";
  ini.writes_left = 3;
  EXPECT_FALSE(store.SaveProfile(Sample(), error));
  EXPECT_NE(std::string::npos, error.find(path)) << error;
  EXPECT_EQ((Texts{"BillingDay", "UserName", "Pwd", "Domain"}), ini.Keys(path, "Alpha"));
  EXPECT_EQ("5", Stored("BillingDay"));
}

TEST_F(ProfileStoreTest, ApplyStoresTheAccountInThePhonebookAndSetsTheDialOverrides) {
  phonebook.Write("[Alpha]\nUserName=old\nPassword=old\nPasswordStored=0\n");
  EntryInfo info = Sample();
  info.Pwd = "s3cret";  // the substitute's phonebook trims blanks a real one would keep
  ApplyProfile(info, dialup);
  std::string user;
  EXPECT_EQ(0, dialup.GetEntryUserName(user));
  EXPECT_EQ(info.UserName, user);
  EXPECT_NE(phonebook.Read().find("Password=s3cret\r\nPasswordStored=1\r\n"), std::string::npos);
  EXPECT_EQ(info.Pwd, dialup.Pwd);
  EXPECT_EQ(info.Domain, dialup.Domain);
  EXPECT_EQ(info.PN, dialup.PhoneNumber);

  // No password in the profile: the saved one stays, and the dial uses it.
  info.Pwd = "";
  ApplyProfile(info, dialup);
  EXPECT_NE(phonebook.Read().find("Password=s3cret\r\nPasswordStored=1\r\n"), std::string::npos);
  EXPECT_EQ(dialup.Pwd, "");
}

TEST(ProfilePhoneList, SplitsAsStoredListsHaveAlwaysBeenReadAndJoinsBack) {
  EXPECT_EQ(Texts{"111"}, SplitPhoneList("111^^^^222^^"));
  EXPECT_EQ(Texts{"111"}, SplitPhoneList("111^^222"));
  EXPECT_EQ(Texts{}, SplitPhoneList("^^111^^"));
  EXPECT_EQ(Texts{}, SplitPhoneList(""));
  EXPECT_EQ(Texts{"1^2"}, SplitPhoneList("1^2^^"));
  const Texts three = {"111", "222", "333"};
  EXPECT_EQ(three, SplitPhoneList("111^^222^^333^^"));
  EXPECT_EQ("111^^222^^333^^", JoinPhoneList(three));
  EXPECT_EQ(three, SplitPhoneList(JoinPhoneList(three)));
  EXPECT_EQ("", JoinPhoneList({}));
}

}  // namespace
