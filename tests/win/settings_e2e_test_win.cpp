// End to end: settings in the registry across runs, a damaged value at start-up, and a
// portable copy's settings in its own file.
#include <windows.h>

#include <gtest/gtest.h>

#include "driver.h"
#include "commands/command_ids.h"

namespace {

constexpr const char* kSettingsKey = "Software\\Tarvolin";
constexpr const char* kPhonebook = "[Home]\nStepDelayMs=0\n";

TEST(SettingsE2E, KeepConnectionAndTheProgramPathAreKeptInTheRegistry) {
  Tarvolin app;
  app.WritePhonebook(kPhonebook);
  app.Start();
  ASSERT_TRUE(app.WaitForMainWindow());
  EXPECT_TRUE(WaitUntil(
      [&] { return UserRegistryText(kSettingsKey, "ProgName") == app.Dir() + "tarvolin.exe"; }));
  EXPECT_FALSE(app.Checked(IDC_BTNKEEP));
  app.Click(IDC_BTNKEEP);
  ASSERT_TRUE(WaitUntil([&] { return app.Checked(IDC_BTNKEEP); }));
  app.Command(IDM_EXIT1);
  ASSERT_TRUE(app.WaitForExit());
  EXPECT_EQ(UserRegistryNumber(kSettingsKey, "CkbKeepConnection"), 1);
  EXPECT_EQ(UserRegistryNumber(kSettingsKey, "UdWaitTime"), 80);

  app.Start();
  ASSERT_TRUE(app.WaitForMainWindow());
  EXPECT_TRUE(WaitUntil([&] { return app.Checked(IDC_BTNKEEP); }));
}

TEST(SettingsE2E, AValueOfTheWrongTypeIsReportedOnceAndTheProgramStarts) {
  Tarvolin app;
  app.WritePhonebook(kPhonebook);
  SetUserRegistryText(kSettingsKey, "UdWaitTime", "eighty");
  app.Start();
  const std::string box = app.AnswerMessageBox("Error", "UdWaitTime", IDOK);
  EXPECT_NE(box, "");
  ASSERT_TRUE(app.WaitForMainWindow());
  EXPECT_TRUE(WaitUntil([&] { return app.MainWindowVisible(); }));
  EXPECT_EQ(app.FindTopLevel("Error"), nullptr);
  app.Command(IDM_EXIT1);
  ASSERT_TRUE(app.WaitForExit());
  EXPECT_EQ(UserRegistryNumber(kSettingsKey, "UdWaitTime"), 80);  // repaired with its default
}

TEST(SettingsE2E, ViewLogsSaysSoWhenThereIsNoLogYet) {
  Tarvolin app;
  app.WritePhonebook(kPhonebook);
  app.Start();
  ASSERT_TRUE(app.WaitForMainWindow());
  app.Command(IDM_VIEWLOGS1);
  EXPECT_EQ(app.AnswerMessageBox("Information", "No logs", IDOK), "No logs exist.");
}

TEST(SettingsE2E, APortableCopyKeepsItsSettingsInItsFileAndItsDataInItsDataFolder) {
  constexpr const char* kInternetSettings =
      "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
  Tarvolin app;
  app.WritePhonebook(kPhonebook);
  ASSERT_TRUE(CreateDirectoryA((app.Dir() + "data").c_str(), nullptr));
  app.WriteFile("portable.ini", "[Settings]\r\nDataDir=data\r\n");
  const std::string internet_settings = UserRegistryDump(kInternetSettings);
  app.Start();
  ASSERT_TRUE(app.WaitForMainWindow());
  app.Click(IDC_BTNKEEP);
  ASSERT_TRUE(WaitUntil([&] { return app.Checked(IDC_BTNKEEP); }));
  app.Command(IDM_EXIT1);
  ASSERT_TRUE(app.WaitForExit());
  EXPECT_NE(app.ReadFile("portable.ini").find("CkbKeepConnection=1"), std::string::npos);
  EXPECT_EQ(UserRegistryDump(kSettingsKey), "");
  EXPECT_EQ(UserRegistryDump(kInternetSettings), internet_settings);
  EXPECT_TRUE(app.FileExists("data\\Schedules.ini"));
  EXPECT_FALSE(app.FileExists("Schedules.ini"));
}

}  // namespace
