// End to end: the start-up password prompt lets in the right password only.
#include <windows.h>

#include <gtest/gtest.h>

#include "driver.h"
#include "settings/password.h"
#include "settings/password_ids.h"
#include "commands/command_ids.h"

namespace {

constexpr const char* kPhonebook = "[Alpha]\nStepDelayMs=0\n";
constexpr const char* kKey = "Software\\Tarvolin";

class PasswordE2E : public ::testing::Test {
 protected:
  PasswordE2E() {
    app_.WritePhonebook(kPhonebook);
    SetUserRegistryNumber(kKey, "CkbSetPWD", 1);
    SetUserRegistryText(kKey, "ConnPWD", EncodePassword("Secret"));
  }

  // Starts the program and answers its prompt: `typed` and OK, or Exit when null.
  void StartAndAnswer(const char* typed) {
    app_.Start();
    Hwnd prompt = app_.WaitForTopLevel("Password");
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(app_.MainWindow(), nullptr);
    EXPECT_TRUE(GetWindowLongA(static_cast<HWND>(prompt), GWL_EXSTYLE) & WS_EX_TOPMOST);
    if (typed) {
      SetChildText(prompt, IDC_EDINPUTPWD, typed);
      ClickChild(prompt, IDOK);
    } else {
      ClickChild(prompt, IDCANCEL);
    }
  }

  // The refusal: the message, then the end, without a main window or anything saved.
  void ExpectRefused() {
    ASSERT_NE(app_.WaitForTopLevel("Error"), nullptr);
    EXPECT_EQ(app_.MainWindow(), nullptr);
    EXPECT_NE(app_.AnswerMessageBox("Error", "Incorrect Password!", IDOK), "");
    EXPECT_TRUE(app_.WaitForExit());
    EXPECT_EQ(UserRegistryText(kKey, "ProgName"), "<missing>");
  }

  Tarvolin app_;
};

TEST_F(PasswordE2E, TheRightPasswordStartsTheProgram) {
  StartAndAnswer("Secret");
  ASSERT_NE(app_.WaitForMainWindow(), nullptr);
  app_.Command(IDM_EXIT1);
  EXPECT_TRUE(app_.WaitForExit());
}

TEST_F(PasswordE2E, AnotherLetterCaseOrExitEndsTheProgramBeforeItsWindow) {
  StartAndAnswer("secret");
  ExpectRefused();
  StartAndAnswer(nullptr);
  ExpectRefused();
}

}  // namespace
