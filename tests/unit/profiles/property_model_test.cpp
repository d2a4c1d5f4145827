// The property dialog's rules, and the dialog as the connection list opens it.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/mainform_fixture.h"
#include "commands/command_ids.h"
#include "profiles/property_model.h"
#include "rassim/rassim.h"

namespace {

using Texts = std::vector<std::string>;

TEST(PhoneNumbersTest, AddSkipsExactDuplicatesAndReplaceAndDeleteNeedASelection) {
  PhoneNumbers phones("555 0100", {"5550100"});
  EXPECT_TRUE(phones.UpdatePhoneButtons().Add && !phones.UpdatePhoneButtons().Replace);
  phones.BtnAddPNClick();  // other spacing: another number
  phones.BtnAddPNClick();  // the same text again: not added
  EXPECT_EQ(phones.Numbers(), (Texts{"5550100", "555 0100"}));
  phones.BtnReplacePNClick();  // nothing selected
  phones.BtnDeletePNClick();
  EXPECT_EQ(phones.Numbers(), (Texts{"5550100", "555 0100"}));

  phones.LbPNClick(0);
  EXPECT_EQ(phones.PN(), "5550100");
  EXPECT_TRUE(phones.UpdatePhoneButtons().Replace);
  phones.EdPNChange("");
  EXPECT_FALSE(phones.UpdatePhoneButtons().Add);
  phones.BtnReplacePNClick();  // an empty number replaces nothing
  EXPECT_EQ(phones.Numbers(), (Texts{"5550100", "555 0100"}));

  phones.EdPNChange("555 0100");
  phones.BtnReplacePNClick();  // may make a duplicate
  EXPECT_EQ(phones.Numbers(), (Texts{"555 0100", "555 0100"}));
  EXPECT_FALSE(phones.UpdatePhoneButtons().Replace);
  phones.LbPNClick(1);
  phones.BtnDeletePNClick();
  EXPECT_EQ(phones.Numbers(), (Texts{"555 0100"}));
  EXPECT_FALSE(phones.UpdatePhoneButtons().Delete);
}

TEST(PropertyModelTest, ShowsTheProfileClampedAndStoresItBack) {
  EntryInfo profile;
  profile.EntryName = "Alpha";
  profile.PN = "999";
  profile.PNList = "111^^222";  // the tail without "^^" is not a number
  profile.Rates.GeneralRate = 1.5;
  profile.Rates.Sections[1] = {true, 0.25, 30, -1};
  profile.Rates.BillingDay = 0;
  profile.Limit.Money = 12.5;
  profile.BudgetWarned = 46000;

  PropertyFields fields = ShowProfile(profile, ',');
  EXPECT_EQ(fields.Numbers[kBudgetHours], "0");
  EXPECT_EQ(fields.Numbers[kBudgetMoney], "12,5");
  EXPECT_EQ(fields.Phones.Numbers(), (Texts{"111"}));
  EXPECT_EQ(fields.Numbers[kGeneralRate], "1,5000");
  EXPECT_EQ(fields.Numbers[kSection1Rate], "0,0000");
  EXPECT_EQ(fields.Numbers[kSection2Rate], "0,2500");
  EXPECT_TRUE(fields.SectionEnabled[1]);
  EXPECT_EQ(fields.From[1], 24);
  EXPECT_EQ(fields.To[1], 0);
  EXPECT_EQ(fields.BillingDay, 1);

  fields.UserName = "bob";
  fields.Numbers[kWeekendRate] = "2,75";
  fields.WeekendEnabled = true;
  fields.Numbers[kBudgetHours] = "40,5";
  fields.Phones.BtnAddPNClick();
  ASSERT_EQ(StoreProfile(fields, ',', profile), std::nullopt);
  EXPECT_EQ(profile.Limit, (Budget{40.5, 12.5}));
  EXPECT_EQ(profile.BudgetWarned, 46000);
  EXPECT_EQ(profile.UserName, "bob");
  EXPECT_EQ(profile.PNList, "111^^999^^");
  EXPECT_EQ(profile.Rates.GeneralRate, 1.5);
  EXPECT_EQ(profile.Rates.Sections[1], (RateSection{true, 0.25, 24, 0}));
  EXPECT_EQ(profile.Rates.WeekendRate, 2.75);
  EXPECT_TRUE(profile.Rates.WeekendEnabled);
  EXPECT_EQ(profile.Rates.BillingDay, 1);
}

TEST(PropertyModelTest, AnEmptyUserNameOrABadRateChangesNothing) {
  EntryInfo profile;
  profile.UserName = "old";
  profile.Rates.GeneralRate = 3;
  const EntryInfo before = profile;

  PropertyFields fields = ShowProfile(profile, '.');
  fields.UserName = "";
  fields.Numbers[kGeneralRate] = "4";
  auto problem = StoreProfile(fields, '.', profile);
  ASSERT_TRUE(problem);
  EXPECT_EQ(problem->Text, "Empty user name!");
  EXPECT_EQ(problem->Field, -1);
  EXPECT_EQ(profile, before);

  fields.UserName = "new";
  fields.Numbers[kSection3Rate] = "1.2.3";
  problem = StoreProfile(fields, '.', profile);
  ASSERT_TRUE(problem);
  EXPECT_NE(problem->Text.find("Section 3 rate"), std::string::npos) << problem->Text;
  EXPECT_NE(problem->Text.find("'1.2.3'"), std::string::npos) << problem->Text;
  EXPECT_EQ(problem->Field, kSection3Rate);
  EXPECT_EQ(profile, before);

  // A limit or a rate below 0 is none the user can mean; the field is named.
  const auto refused = [&](int field, const std::string& typed, const std::string& text) {
    const std::string kept = fields.Numbers[field];
    fields.Numbers[field] = typed;
    problem = StoreProfile(fields, '.', profile);
    ASSERT_TRUE(problem) << typed;
    EXPECT_EQ(problem->Text, text);
    EXPECT_EQ(problem->Field, field);
    EXPECT_EQ(profile, before);
    fields.Numbers[field] = kept;
  };
  fields.Numbers[kSection3Rate] = "1";
  refused(kBudgetMoney, "-5", "'-5' is not a valid number for the budget's money.");
  refused(kGeneralRate, "-2", "Rates cannot be below 0.");
  refused(kWeekendRate, "-0.01", "Rates cannot be below 0.");
  fields.Numbers[kGeneralRate] = "0";  // a free line
  EXPECT_FALSE(StoreProfile(fields, '.', profile));
  profile = before;

  // A thousand typed with the other mark is refused, never taken as one.
  for (std::string& rate : fields.Numbers)
    rate = "0";
  for (const auto& [separator, typed] : {std::pair{'.', "1,000"}, std::pair{',', "1.000"}}) {
    fields.Numbers[kWeekendRate] = typed;
    problem = StoreProfile(fields, separator, profile);
    ASSERT_TRUE(problem) << typed;
    EXPECT_EQ(problem->Field, kWeekendRate);
    EXPECT_EQ(profile, before);
  }
}

// Free hours as the dialog shows and takes them: a window within a day or past midnight,
// empty for none, and nothing else.
TEST(PropertyModelTest, FreeHoursAndAVolumeLimit) {
  EntryInfo profile;
  profile.UserName = "ann";
  profile.Rates.FreeFrom = 23 * 60;
  profile.Rates.FreeTo = 7 * 60 + 5;
  profile.Limit.Volume = 1500;
  PropertyFields fields = ShowProfile(profile, ',');
  EXPECT_EQ(fields.FreeHours, "23:00-07:05");
  EXPECT_EQ(fields.Numbers[kBudgetVolume], "1500");
  const EntryInfo before = profile;
  for (const char* bad : {"24:00-07:00", "23:60-07:00", "23:00-7:60", "23:00", "23:00-07:00x",
                          "-1:00-07:00", "noon"}) {
    fields.FreeHours = bad;
    const auto problem = StoreProfile(fields, ',', profile);
    ASSERT_TRUE(problem) << bad;
    EXPECT_EQ(problem->Field, kFreeHoursField);
    EXPECT_EQ(profile, before);
  }
  fields.FreeHours = " 12:30 - 13:45 ";
  fields.Numbers[kBudgetVolume] = "0,5";
  ASSERT_EQ(StoreProfile(fields, ',', profile), std::nullopt);
  EXPECT_EQ(profile.Rates.FreeFrom, 12 * 60 + 30);
  EXPECT_EQ(profile.Rates.FreeTo, 13 * 60 + 45);
  EXPECT_EQ(profile.Limit.Volume, 0.5);
  fields.FreeHours = "";
  ASSERT_EQ(StoreProfile(fields, ',', profile), std::nullopt);
  EXPECT_EQ(profile.Rates.FreeFrom, profile.Rates.FreeTo);
  EXPECT_EQ(ShowProfile(profile, ',').FreeHours, "");
}

class PropertyDialogTest : public MainformTest {
 protected:
  ~PropertyDialogTest() override { rassim::SetEntryDialog(nullptr); }

  std::string AccountOf(const std::string& entry) {
    form_->DialUp().Entry = entry;
    std::string user;
    form_->DialUp().GetEntryUserName(user);
    return user;
  }
  std::vector<std::string> Rows() {
    std::vector<std::string> rows;
    for (const auto& row : view_.rows)
      rows.push_back(row.EntryName + (row.Selected ? " *" : ""));
    return rows;
  }
  std::string EntriesIni() { return files_.content["C:\\Tarvolin\\Entries.ini"]; }
};

TEST_F(PropertyDialogTest, OpensOnTheSelectedEntryAsTheFileHasItNowAndCancelKeepsIt) {
  Tmainform& form = Start();
  files_.content["C:\\Tarvolin\\Entries.ini"] = "[First]\r\nUserName=ann\r\nGeneralRate=2\r\n";
  form.Property1Click();
  ASSERT_EQ(view_.property_dialogs.size(), 1u);
  EXPECT_EQ(view_.property_dialogs[0].EntryName, "First");
  EXPECT_EQ(view_.property_dialogs[0].UserName, "ann");
  EXPECT_EQ(view_.property_dialogs[0].Rates.GeneralRate, 2);
  EXPECT_EQ(form.Connections().CurrentProfile().UserName, "ann");
  EXPECT_EQ(view_.rows[0].UserName, "");  // Cancel: the list stays as it was
}

TEST_F(PropertyDialogTest, WhileItIsOpenThePhonebookWatchWaitsAndRunsAtTheFirstTickAfter) {
  Tmainform& form = Start();
  view_.property_answer = [&](const PropertyDialogInput&) {
    phonebook_.Write("[Renamed]\n[Second]\n");  // renamed beside the program
    for (int tick = 0; tick < 6; ++tick)
      form.CheckTimerTimer();
    EXPECT_EQ(Rows(), (Texts{"First *", "Second"}));
    EXPECT_EQ(form.DialUp().Entry, "First");
    return std::nullopt;
  };
  form.ControlClick(IDC_BTNPROPERTY);
  ASSERT_EQ(view_.property_dialogs.size(), 1u);
  form.CheckTimerTimer();
  EXPECT_EQ(Rows(), (Texts{"Renamed *", "Second"}));
}

TEST_F(PropertyDialogTest, OkStoresTheAccountInItsOwnEntryFollowingARenameByItsEditButton) {
  Tmainform& form = Start();
  form.CnListSelectItem("Second");
  rassim::SetEntryDialog([](void*, rassim::EntryFields& entry, bool) {
    entry.name = "Renamed";
    return true;
  });
  view_.property_answer = [&](const PropertyDialogInput& input) {
    EntryInfo profile = input.Profile;
    profile.UserName = "bob";  // typed before the rename, and kept through it
    profile.EntryName = input.EditConnection(nullptr, input.Profile.EntryName);
    EXPECT_EQ(profile.EntryName, "Renamed");
    EXPECT_EQ(input.Save(profile).Result, PropertySaved::Saved);
    return profile;
  };
  form.ControlClick(IDC_BTNPROPERTY);
  EXPECT_EQ(Rows(), (Texts{"First", "Renamed *"}));
  EXPECT_NE(EntriesIni().find("[Renamed]\r\nUserName=bob"), std::string::npos) << EntriesIni();
  EXPECT_EQ(AccountOf("Renamed"), "bob");
  EXPECT_EQ(AccountOf("First"), "");
}

TEST_F(PropertyDialogTest, AnEntryGoneAtOkIsSaidAndNothingIsWritten) {
  Tmainform& form = Start();
  view_.property_answer = [&](const PropertyDialogInput& input) {
    phonebook_.Write("[Renamed]\n[Second]\n");
    EntryInfo profile = input.Profile;
    profile.UserName = "bob";
    const PropertySaved saved = input.Save(profile);
    EXPECT_EQ(saved.Result, PropertySaved::Gone);
    EXPECT_EQ(saved.Text,
              "The connection \"First\" no longer exists in the phonebook; nothing was saved.");
    return std::nullopt;  // the dialog closes as cancelled
  };
  form.ControlClick(IDC_BTNPROPERTY);
  EXPECT_EQ(EntriesIni(), "");
  EXPECT_EQ(AccountOf("Renamed"), "");
  EXPECT_EQ(AccountOf("Second"), "");
}

// The line's plan changed while it is up prices its whole session, also once another row
// is selected.
TEST_F(PropertyDialogTest, APlanSavedWhileOnlinePricesTheLineWhicheverRowIsSelectedAfter) {
  Tmainform& form = Start();
  form.Dial1Click();
  ASSERT_TRUE(ui_.RunUntil([&] { return form.Dialing().Online(); }));
  view_.property_answer = [&](const PropertyDialogInput& input) {
    EntryInfo profile = input.Profile;
    profile.UserName = "ann";
    profile.Rates.GeneralRate = 60;
    EXPECT_EQ(input.Save(profile).Result, PropertySaved::Saved);
    return profile;
  };
  form.ControlClick(IDC_BTNPROPERTY);
  form.CnListSelectItem("Second");
  Elapse(60000);
  const AccountInfo& first = form.Connections().Table()[0];
  EXPECT_GT(first.SessionTime, 0);
  EXPECT_NEAR(static_cast<double>(first.SessionExpense), first.SessionTime * 24 * 60, 1e-6);
}

}  // namespace
