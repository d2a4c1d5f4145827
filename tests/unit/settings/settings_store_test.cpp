// The settings key: order and form of its values, round trips, damaged values, and the
// start-with-Windows entry.
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_keyboard.h"
#include "fakes/fake_registry.h"
#include "settings/password.h"

namespace {

using Type = FakeRegistry::Type;
using Values = std::map<std::string, FakeRegistry::Value>;

const std::vector<std::string> kWritingOrder = {"Left",
                                                "Top",
                                                "WindowMax",
                                                "KeepConnection",
                                                "Language",
                                                "ViewMode",
                                                "CkbRunOnStartup",
                                                "CkbWriteLogs",
                                                "CkbMinSpeed",
                                                "CbMinSpeed",
                                                "CkbSetPWD",
                                                "ConnPWD",
                                                "CkbAutoDial",
                                                "CkbConnectOnStartup",
                                                "CkbPingSrv",
                                                "UdPingSrv",
                                                "CkbCopyIP",
                                                "RgCopyIP",
                                                "CkbKeepConnection",
                                                "UdWaitTime",
                                                "UdRedialAfter",
                                                "RgConnectOnStartup",
                                                "CkbMinToTray",
                                                "CkbAutoUpdate",
                                                "CkbAlwaysOnTop",
                                                "CkbSoundEffect",
                                                "CkbEnableAllSchedules",
                                                "CkbEnableAllActions",
                                                "CkbEnableHotKeyDial",
                                                "HotKey_Dial",
                                                "CkbEnableHotKeyHangup",
                                                "HotKey_Hangup",
                                                "CkbEnableHotKeyRedial",
                                                "HotKey_Redial",
                                                "CkbEnableHotKeyKeep",
                                                "HotKey_Keep",
                                                "CkbShowMainWhenHotkey",
                                                "HisRecvMax",
                                                "HisSentMax",
                                                "DataRateOf",
                                                "EnableConnectSound",
                                                "ConnectSoundFile",
                                                "EnableDisconnectSound",
                                                "DisconnectSoundFile",
                                                "EnableErrorSound",
                                                "ErrorSoundFile",
                                                "Rt_LastSelect"};

const std::vector<std::string> kReadingOrder = {"Left",
                                                "Top",
                                                "WindowMax",
                                                "ViewMode",
                                                "KeepConnection",
                                                "Language",
                                                "CkbRunOnStartup",
                                                "CkbWriteLogs",
                                                "CkbMinSpeed",
                                                "CbMinSpeed",
                                                "CkbSetPWD",
                                                "ConnPWD",
                                                "CkbAutoDial",
                                                "CkbConnectOnStartup",
                                                "CkbPingSrv",
                                                "UdPingSrv",
                                                "CkbCopyIP",
                                                "RgCopyIP",
                                                "CkbKeepConnection",
                                                "UdWaitTime",
                                                "UdRedialAfter",
                                                "RgConnectOnStartup",
                                                "CkbMinToTray",
                                                "CkbAutoUpdate",
                                                "CkbAlwaysOnTop",
                                                "CkbSoundEffect",
                                                "Rt_LastSelect",
                                                "CkbEnableAllSchedules",
                                                "CkbEnableAllActions",
                                                "CkbEnableHotKeyDial",
                                                "HotKey_Dial",
                                                "CkbEnableHotKeyHangup",
                                                "HotKey_Hangup",
                                                "CkbEnableHotKeyRedial",
                                                "HotKey_Redial",
                                                "CkbEnableHotKeyKeep",
                                                "HotKey_Keep",
                                                "CkbShowMainWhenHotkey",
                                                "HisRecvMax",
                                                "HisSentMax",
                                                "DataRateOf",
                                                "EnableConnectSound",
                                                "ConnectSoundFile",
                                                "EnableDisconnectSound",
                                                "DisconnectSoundFile",
                                                "EnableErrorSound",
                                                "ErrorSoundFile"};

const std::string kExe = "C:\\Program Files\\Tarvolin\\Tarvolin.exe";
const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class SettingsStore : public ::testing::Test {
 protected:
  Values& Stored() { return registry_.keys[{RegRoot::CurrentUser, kSettingsKey}]; }

  void Put(const std::string& name, uint32_t number) { Stored()[name] = {Type::Dword, number, {}}; }
  void Put(const std::string& name, const std::string& text) {
    Stored()[name] = {Type::Sz, 0, text};
  }

  std::vector<std::string> Load() {
    settings_ = AppSettings{};
    last_select_.clear();
    return LoadSettings(registry_, keyboard_, settings_, last_select_);
  }

  bool Save(const std::string* selected) {
    return SaveSettings(registry_, keyboard_, settings_, settings_.Left, settings_.Top, selected);
  }

  FakeRegistry registry_;
  FakeKeyboard keyboard_;
  AppSettings settings_;
  std::string last_select_;
};

TEST_F(SettingsStore, FirstStart) {
  AppSettings defaults;
  SetDefaultSettings(keyboard_, defaults);
  EXPECT_EQ(AppSettings{}, defaults);  // the US reading of "Alt+`" is the initialiser

  EXPECT_TRUE(Load().empty());
  EXPECT_EQ(defaults, settings_);
  EXPECT_EQ("", last_select_);
  WriteProgName(registry_, kExe);
  EXPECT_EQ((Values{{"ProgName", {Type::Sz, 0, kExe}}}), Stored());

  keyboard_.names.erase(0xC0);  // a layout without a key named "`"
  SetDefaultSettings(keyboard_, defaults);
  EXPECT_EQ(0, defaults.HotKey_Dial);
  defaults.HotKey_Dial = AppSettings{}.HotKey_Dial;
  EXPECT_EQ(AppSettings{}, defaults);
}

TEST_F(SettingsStore, OrderAndForm) {
  settings_.CkbSetPWD = true;
  const std::string selected = "Work";
  ASSERT_TRUE(Save(&selected));
  EXPECT_EQ(kWritingOrder, registry_.writes);
  EXPECT_EQ((FakeRegistry::Value{Type::Dword, 1, {}}), Stored()["CkbWriteLogs"]);
  EXPECT_EQ((FakeRegistry::Value{Type::Dword, 0, {}}), Stored()["CkbMinSpeed"]);
  EXPECT_EQ((FakeRegistry::Value{Type::Dword, 80, {}}), Stored()["UdWaitTime"]);
  EXPECT_EQ((FakeRegistry::Value{Type::Sz, 0, "English"}), Stored()["Language"]);
  EXPECT_EQ((FakeRegistry::Value{Type::Sz, 0, "Alt+`"}), Stored()["HotKey_Dial"]);
  EXPECT_EQ((FakeRegistry::Value{Type::Sz, 0, "Alt+1"}), Stored()["HotKey_Hangup"]);

  EXPECT_TRUE(Load().empty());
  EXPECT_EQ(kReadingOrder, registry_.reads);

  // Left and Top are the window's position at saving, not the fields.
  ASSERT_TRUE(SaveSettings(registry_, keyboard_, settings_, -8, 4000, nullptr));
  EXPECT_EQ((FakeRegistry::Value{Type::Dword, static_cast<uint32_t>(-8), {}}), Stored()["Left"]);
  EXPECT_EQ(200, settings_.Left);
  Load();
  EXPECT_EQ(-8, settings_.Left);
  EXPECT_EQ(4000, settings_.Top);
}

// Changing one stored value at a time must change what loads, and saving what loaded must
// give back that value and leave every other one as it was: each value has its own field.
TEST_F(SettingsStore, EveryValueRoundTripsOnItsOwn) {
  settings_.CkbSetPWD = true;
  settings_.ConnPWD = "pw";
  const std::string selected = "Home";
  ASSERT_TRUE(Save(&selected));
  const FakeRegistry original = registry_;
  ASSERT_TRUE(Load().empty());
  const AppSettings original_settings = settings_;

  for (const auto& name : kWritingOrder) {
    registry_ = original;
    FakeRegistry::Value& value = Stored()[name];
    if (value.type == Type::Dword)
      value.number = value.number <= 1 ? 1 - value.number : value.number + 1;
    else
      value.bytes = name.starts_with("HotKey_") ? "Ctrl+Alt+D" : value.bytes + "x";
    Values expected = Stored();
    if (name == "CkbSetPWD")
      expected["ConnPWD"].bytes = "";  // the password is not loaded with protection off

    EXPECT_TRUE(Load().empty()) << name;
    EXPECT_TRUE(settings_ != original_settings || last_select_ != selected) << name;
    registry_ = FakeRegistry();
    ASSERT_TRUE(Save(&last_select_));
    EXPECT_EQ(expected, Stored()) << name;
  }
}

TEST_F(SettingsStore, PasswordOnlyBehindItsSwitch) {
  Put("CkbSetPWD", 0u);
  Put("ConnPWD", EncodePassword("secret"));
  Load();
  EXPECT_EQ("", settings_.ConnPWD);
  ASSERT_TRUE(Save(nullptr));
  EXPECT_EQ("", Stored()["ConnPWD"].bytes);

  Put("CkbSetPWD", 1u);
  Put("ConnPWD", EncodePassword("secret"));
  Load();
  EXPECT_EQ("secret", settings_.ConnPWD);
  ASSERT_TRUE(Save(nullptr));
  const std::string first = Stored()["ConnPWD"].bytes;
  ASSERT_TRUE(Save(nullptr));
  EXPECT_EQ(first, Stored()["ConnPWD"].bytes);
  EXPECT_EQ("secret", DecodePassword(first));
  EXPECT_EQ("secret", settings_.ConnPWD);
}

TEST_F(SettingsStore, WrongTypeIsReportedAndLoadingGoesOn) {
  Put("CkbWriteLogs", 0u);
  Put("Language", 5u);
  Put("UdWaitTime", "120");
  Put("UdRedialAfter", 9u);
  Put("HotKey_Keep", 0x8034u);
  Put("ConnPWD", 7u);  // not read: protection is off
  Put("ErrorSoundFile", "error.wav");

  std::vector<std::string> problems = Load();
  ASSERT_EQ(3u, problems.size());
  EXPECT_EQ(
      "The setting \"Language\" in HKEY_CURRENT_USER\\Software\\Tarvolin is not a text; its "
      "default is used.",
      problems[0]);
  EXPECT_EQ(
      "The setting \"UdWaitTime\" in HKEY_CURRENT_USER\\Software\\Tarvolin is not a number; "
      "its default is used.",
      problems[1]);
  EXPECT_NE(std::string::npos, problems[2].find("\"HotKey_Keep\""));

  AppSettings expected;
  expected.CkbWriteLogs = false;
  expected.UdRedialAfter = 9;
  expected.ErrorSoundFile = "error.wav";
  EXPECT_EQ(expected, settings_);
}

TEST_F(SettingsStore, HotKeysWithoutKeyStayEmpty) {
  Put("HotKey_Dial", "");
  Put("HotKey_Hangup", "Alt+Foo");
  Load();
  EXPECT_EQ(0, settings_.HotKey_Dial);
  EXPECT_EQ(0, settings_.HotKey_Hangup);
  ASSERT_TRUE(Save(nullptr));
  EXPECT_EQ("", Stored()["HotKey_Dial"].bytes);
  EXPECT_EQ("", Stored()["HotKey_Hangup"].bytes);
}

TEST_F(SettingsStore, LastSelectKeptWithoutSelection) {
  Put("Rt_LastSelect", "Home");
  Load();
  EXPECT_EQ("Home", last_select_);
  ASSERT_TRUE(Save(nullptr));
  EXPECT_EQ("Home", Stored()["Rt_LastSelect"].bytes);
  EXPECT_EQ(kWritingOrder.size() - 1, registry_.writes.size());

  const std::string selected = "Work";
  ASSERT_TRUE(Save(&selected));
  EXPECT_EQ("Rt_LastSelect", registry_.writes.back());
  Load();
  EXPECT_EQ("Work", last_select_);
}

TEST_F(SettingsStore, KeyThatCannotBeOpened) {
  registry_.refused.insert(RegRoot::CurrentUser);
  EXPECT_EQ(1u, Load().size());
  EXPECT_EQ(AppSettings{}, settings_);
  EXPECT_FALSE(Save(nullptr));
  EXPECT_TRUE(registry_.writes.empty());
}

class SettingsRunOnStartup : public ::testing::Test {
 protected:
  const FakeRegistry::Value* Run(RegRoot root) { return registry_.Find(root, kRunKey, "Tarvolin"); }
  void PutRun(RegRoot root) { registry_.keys[{root, kRunKey}]["Tarvolin"] = {Type::Sz, 0, kExe}; }

  FakeRegistry registry_;
  const FakeRegistry::Value kEntry{Type::Sz, 0, kExe};
};

TEST_F(SettingsRunOnStartup, MachineWideFirst) {
  PutRun(RegRoot::CurrentUser);  // left by a run without the rights for the machine
  EXPECT_TRUE(ApplyRunOnStartup(registry_, true, kExe).empty());
  ASSERT_NE(nullptr, Run(RegRoot::LocalMachine));
  EXPECT_EQ(kEntry, *Run(RegRoot::LocalMachine));
  EXPECT_EQ(nullptr, Run(RegRoot::CurrentUser));

  EXPECT_TRUE(ApplyRunOnStartup(registry_, false, kExe).empty());
  EXPECT_EQ(nullptr, Run(RegRoot::LocalMachine));
}

TEST_F(SettingsRunOnStartup, CurrentUserWhenTheMachineRefuses) {
  registry_.refused.insert(RegRoot::LocalMachine);
  EXPECT_TRUE(ApplyRunOnStartup(registry_, true, kExe).empty());
  ASSERT_NE(nullptr, Run(RegRoot::CurrentUser));
  EXPECT_EQ(kEntry, *Run(RegRoot::CurrentUser));

  EXPECT_TRUE(ApplyRunOnStartup(registry_, false, kExe).empty());
  EXPECT_EQ(nullptr, Run(RegRoot::CurrentUser));

  registry_.refused.insert(RegRoot::CurrentUser);
  std::vector<std::string> problems = ApplyRunOnStartup(registry_, true, kExe);
  ASSERT_EQ(1u, problems.size());
  EXPECT_NE(std::string::npos, problems[0].find("HKEY_LOCAL_MACHINE\\" + kRunKey));
  EXPECT_NE(std::string::npos, problems[0].find("HKEY_CURRENT_USER\\" + kRunKey));
}

TEST_F(SettingsRunOnStartup, RemovalThatIsRefused) {
  PutRun(RegRoot::LocalMachine);
  PutRun(RegRoot::CurrentUser);
  registry_.refused.insert(RegRoot::LocalMachine);
  std::vector<std::string> problems = ApplyRunOnStartup(registry_, false, kExe);
  ASSERT_EQ(1u, problems.size());
  EXPECT_NE(std::string::npos, problems[0].find("HKEY_LOCAL_MACHINE\\" + kRunKey));
  EXPECT_EQ(nullptr, Run(RegRoot::CurrentUser));
}

}  // namespace
