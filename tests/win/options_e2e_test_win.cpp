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
  ClickChild(dialog, IDOK);

  EXPECT_TRUE(WaitUntil([&] { return UserRegistryNumber(kSettingsKey, "UdWaitTime") == 120; }));
  EXPECT_EQ(UserRegistryNumber(kSettingsKey, "CkbMinToTray"), 1);
  EXPECT_EQ(UserRegistryNumber(kSettingsKey, "HisRecvMax"), 2048);
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

}  // namespace
