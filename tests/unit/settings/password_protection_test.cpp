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

TEST_F(PendingPasswordTest, IsTheStoredPasswordOnlyWhenProtectionIsOn) {
  registry_.WriteText(RegRoot::CurrentUser, kSettingsKey, "ConnPWD", EncodePassword("Secret"));
  EXPECT_EQ(Start().Password().PendingPassword(), "");
  registry_.WriteInt(RegRoot::CurrentUser, kSettingsKey, "CkbSetPWD", 1);
  EXPECT_EQ(Start().Password().PendingPassword(), "Secret");
}

}  // namespace
