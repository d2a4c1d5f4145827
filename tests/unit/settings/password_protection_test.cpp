// The password dialog's messages, the start-up check and the password pending for Options.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/mainform_fixture.h"
#include "settings/password.h"
#include "settings/password_model.h"
#include "settings/password_protection.h"
#include "settings/settings_store.h"

namespace {

TEST(PwdFormTest, SaysWhatIsMissingOrDiffers) {
  EXPECT_EQ(PwdFormProblem("", "abc"), "Please enter password");
  EXPECT_EQ(PwdFormProblem("abc", ""), "Please enter password again");
  EXPECT_EQ(PwdFormProblem("abc", "ABC"), "The password you entered twice should be the same");
  EXPECT_EQ(PwdFormProblem("abc", "abc"), "");
}

class StartupPasswordTest : public ::testing::Test {
 protected:
  void Protect(uint32_t on, const std::string& password) {
    registry_.WriteInt(RegRoot::CurrentUser, kSettingsKey, "CkbSetPWD", on);
    registry_.WriteText(RegRoot::CurrentUser, kSettingsKey, "ConnPWD", EncodePassword(password));
  }
  // Runs the check with `typed` as the prompt's answer; counts the prompts.
  bool Check(std::optional<std::string> typed) {
    return CheckStartupPassword(registry_, prompts_, [&] {
      ++asked_;
      return typed;
    });
  }

  FakeRegistry registry_;
  FakePrompts prompts_;
  int asked_ = 0;
};

TEST_F(StartupPasswordTest, AsksWhenProtectedAndLetsInOnlyTheExactPassword) {
  EXPECT_TRUE(Check("x"));  // nothing stored
  Protect(0, "Secret");
  EXPECT_TRUE(Check("x"));
  Protect(1, "");
  EXPECT_TRUE(Check("x"));
  EXPECT_EQ(asked_, 0);

  Protect(1, "Secret");
  EXPECT_TRUE(Check("Secret"));
  EXPECT_TRUE(prompts_.errors.empty());
  EXPECT_FALSE(Check("secret"));
  EXPECT_FALSE(Check(std::nullopt));  // Exit
  EXPECT_EQ(asked_, 3);
  EXPECT_EQ(prompts_.errors,
            (std::vector<std::string>{"Incorrect Password!", "Incorrect Password!"}));
}

class PendingPasswordTest : public MainformTest {};

// The Options dialog's OK stores the pending password, which is the stored one only when
// protection was on at start.
TEST_F(PendingPasswordTest, IsTheStoredPasswordOnlyWhenProtectionIsOn) {
  registry_.WriteText(RegRoot::CurrentUser, kSettingsKey, "ConnPWD", EncodePassword("Secret"));
  view_.options_answer = [](TOptionForm&) { return true; };
  Tmainform& off = Start();
  off.Option1Click();
  EXPECT_EQ(off.Settings().ConnPWD, "");
  registry_.WriteText(RegRoot::CurrentUser, kSettingsKey, "ConnPWD", EncodePassword("Secret"));
  registry_.WriteInt(RegRoot::CurrentUser, kSettingsKey, "CkbSetPWD", 1);
  Tmainform& on = Start();
  on.Option1Click();
  EXPECT_EQ(on.Settings().ConnPWD, "Secret");
}

}  // namespace
