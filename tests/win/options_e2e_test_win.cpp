// End to end: the Options dialog shows the settings and its OK writes them to the registry.
#include <windows.h>

#include <gtest/gtest.h>

#include "driver.h"
#include "settings/options_ids.h"
#include "commands/command_ids.h"

namespace {

constexpr const char* kSettingsKey = "Software\\Tarvolin";

TEST(OptionsE2E, OkInOptionsWritesTheRegistry) {
  Tarvolin app;
  app.WriteFile("connect.wav", "RIFF");
  ASSERT_TRUE(app.StartWith("[Home]\nStepDelayMs=0\n"));
  app.Command(IDM_OPTION1);
  const Hwnd dialog = app.WaitForTopLevel("Option");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(ChildOf(dialog, IDC_EDWAITTIME)), "80");
  EXPECT_EQ(WindowText(ChildOf(dialog, IDC_EDCONNECTSOUNDFILE)), app.Dir() + "connect.wav");

  ClickChild(dialog, IDC_CKBMINTOTRAY);
  ASSERT_TRUE(WaitUntil([&] { return ChildChecked(dialog, IDC_CKBMINTOTRAY); }));
  SetChildText(dialog, IDC_EDWAITTIME, "120");
  SetChildText(dialog, IDC_EDSCALE, "2");
  // The Line watch page: the dead-line watch waits for the keep-alive to be on.
  EXPECT_FALSE(IsWindowEnabled(static_cast<HWND>(ChildOf(dialog, IDC_CKBDEADLINE))));
  ClickChild(dialog, IDC_CKBPINGSRV);
  ASSERT_TRUE(WaitUntil(
      [&] { return IsWindowEnabled(static_cast<HWND>(ChildOf(dialog, IDC_CKBDEADLINE))); }));
  ClickChild(dialog, IDC_CKBPATIENTRETRY);
  SetChildText(dialog, IDC_EDPATIENTRETRY, "30");
  ClickChild(dialog, IDOK);

  // OK saves every setting, Rt_LastSelect last: once it is there, all the others are.
  EXPECT_TRUE(WaitUntil([&] { return UserRegistryText(kSettingsKey, "Rt_LastSelect") == "Home"; }));
  EXPECT_EQ(UserRegistryNumber(kSettingsKey, "UdWaitTime"), 120);
  EXPECT_EQ(UserRegistryNumber(kSettingsKey, "CkbMinToTray"), 1);
  EXPECT_EQ(UserRegistryNumber(kSettingsKey, "HisRecvMax"), 2048);
  EXPECT_EQ(UserRegistryNumber(kSettingsKey, "CkbPatientRetry"), 1);
  EXPECT_EQ(UserRegistryNumber(kSettingsKey, "UdPatientRetryMinutes"), 30);
  EXPECT_EQ(UserRegistryNumber(kSettingsKey, "CkbDeadLine"), 0);
  EXPECT_EQ(UserRegistryText(kSettingsKey, "ConnectSoundFile"), app.Dir() + "connect.wav");
  EXPECT_EQ(app.FindTopLevel("Option"), nullptr);
}

TEST(OptionsE2E, CancelAfterEditsChangesNoRegistryValue) {
  Tarvolin app;
  ASSERT_TRUE(app.StartWith("[Home]\nStepDelayMs=0\n"));
  const std::string before = UserRegistryDump("Software");
  app.Command(IDM_OPTION1);
  const Hwnd dialog = app.WaitForTopLevel("Option");
  ASSERT_NE(dialog, nullptr);
  for (int box : {IDC_CKBMINTOTRAY, IDC_CKBALWAYSONTOP, IDC_CKBRUNONSTARTUP})
    ClickChild(dialog, box);
  ASSERT_TRUE(WaitUntil([&] { return ChildChecked(dialog, IDC_CKBRUNONSTARTUP); }));
  SetChildText(dialog, IDC_EDWAITTIME, "120");
  SetChildText(dialog, IDC_EDSCALE, "2");
  ClickChild(dialog, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return app.FindTopLevel("Option") == nullptr; }));
  EXPECT_EQ(UserRegistryDump("Software"), before);
}

// A line that always links slower than the chosen minimum is hung up and dialed again
// twice, then kept.
TEST(OptionsE2E, ALineSlowOnThreeConnectsInARowIsKept) {
  Tarvolin app;
  SetUserRegistryNumber(kSettingsKey, "CkbMinSpeed", 1);
  SetUserRegistryNumber(kSettingsKey, "CbMinSpeed", 7);  // 36000
  SetUserRegistryNumber(kSettingsKey, "CkbKeepConnection", 1);
  ASSERT_TRUE(app.StartWith("[Slow]\nStepDelayMs=0\nLinkSpeed=33600\n"));
  app.Click(IDC_BTNDIAL);
  const auto log = [&] { return app.ReadFile("DialLog.TXT"); };
  ASSERT_TRUE(WaitUntil([&] { return log().find("three times in a row") != std::string::npos; }));
  // The speed is checked at the first tick after a connect: a line that outlasts a few
  // more on the program's clock was kept.
  ASSERT_TRUE(WaitUntil([&] { return app.SessionSeconds() >= 3; })) << log();
  const std::string text = log();
  int connects = 0;
  for (size_t at = text.find("Connected to server: "); at != std::string::npos;
       at = text.find("Connected to server: ", at + 1)) {
    ++connects;
  }
  EXPECT_EQ(connects, 3);
  EXPECT_EQ(app.Text(IDC_LBLONLINE), "Online");
}

}  // namespace
