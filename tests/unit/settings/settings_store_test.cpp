// The settings key: stored values and their fields, round trips, the orders users depend
// on, damaged values, and the start-with-Windows entry.
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fakes/fake_keyboard.h"
#include "fakes/fake_registry.h"
#include "settings/hotkey_text.h"
#include "settings/password.h"

namespace {

using Type = FakeRegistry::Type;
using Value = FakeRegistry::Value;
using Values = std::map<std::string, Value>;

Value Number(uint32_t number) {
  return {Type::Dword, number, {}};
}
Value Text(const std::string& text) {
  return {Type::Sz, 0, text};
}

// A settings key as an earlier run may have left it: every number different from the
// others, flags both on and off, and none of the hotkeys at its default.
Values KnownValues() {
  return {{"Left", Number(static_cast<uint32_t>(-8))},
          {"Top", Number(4000)},
          {"WindowMax", Number(1)},
          {"KeepConnection", Number(0)},
          {"Language", Text("Czech")},
          {"ViewMode", Number(3)},
          {"CkbRunOnStartup", Number(1)},
          {"CkbWriteLogs", Number(0)},
          {"CkbMinSpeed", Number(0)},
          {"CbMinSpeed", Number(4)},
          {"CkbSetPWD", Number(1)},
          {"ConnPWD", Text(EncodePassword("pw 1"))},
          {"CkbAutoDial", Number(0)},
          {"CkbConnectOnStartup", Number(1)},
          {"CkbPingSrv", Number(1)},
          {"UdPingSrv", Number(5)},
          {"CkbCopyIP", Number(0)},
          {"RgCopyIP", Number(2)},
          {"CkbKeepConnection", Number(1)},
          {"UdWaitTime", Number(120)},
          {"UdRedialAfter", Number(9)},
          {"RgConnectOnStartup", Number(0)},
          {"CkbMinToTray", Number(0)},
          {"CkbAutoUpdate", Number(1)},
          {"CkbAlwaysOnTop", Number(0)},
          {"CkbSoundEffect", Number(0)},
          {"CkbEnableAllSchedules", Number(1)},
          {"CkbEnableAllActions", Number(0)},
          {"CkbEnableHotKeyDial", Number(1)},
          {"HotKey_Dial", Text("Ctrl+Alt+D")},
          {"CkbEnableHotKeyHangup", Number(0)},
          {"HotKey_Hangup", Text("Shift+F5")},
          {"CkbEnableHotKeyRedial", Number(1)},
          {"HotKey_Redial", Text("Alt+Home")},
          {"CkbEnableHotKeyKeep", Number(0)},
          {"HotKey_Keep", Text("Ctrl+Num *")},
          {"CkbShowMainWhenHotkey", Number(0)},
          {"HisRecvMax", Number(20480)},
          {"HisSentMax", Number(4096)},
          {"DataRateOf", Number(1)},
          {"EnableConnectSound", Number(0)},
          {"ConnectSoundFile", Text("C:\\Sounds\\up.wav")},
          {"EnableDisconnectSound", Number(1)},
          {"DisconnectSoundFile", Text("down.wav")},
          {"EnableErrorSound", Number(0)},
          {"ErrorSoundFile", Text("error.wav")},
          {"UdStopAfterFailures", Number(5)},
          {"CkbStopOnRefusal", Number(1)},
          {"CkbLongerWait", Number(0)},
          {"CkbDeadLine", Number(1)},
          {"UdDeadLineEchoes", Number(4)},
          {"CkbResumeCheck", Number(1)},
          {"UdResumeSettle", Number(30)},
          {"CkbPatientRetry", Number(1)},
          {"UdPatientRetryMinutes", Number(30)},
          {"CkbNotices", Number(1)},
          {"CkbNextNumberWhenBusy", Number(1)},
          {"CkbDetailedLog", Number(1)},
          {"Rt_LastSelect", Text("Work")}};
}

// What KnownValues loads into; the fields left out keep their defaults.
AppSettings KnownSettings() {
  AppSettings s;
  s.Left = -8;
  s.Top = 4000;
  s.WindowMax = true;
  s.Language = "Czech";
  s.ViewMode = 3;
  s.CkbRunOnStartup = true;
  s.CkbWriteLogs = false;
  s.CbMinSpeed = 4;
  s.CkbSetPWD = true;
  s.ConnPWD = "pw 1";
  s.CkbConnectOnStartup = true;
  s.CkbPingSrv = true;
  s.UdPingSrv = 5;
  s.RgCopyIP = 2;
  s.CkbKeepConnection = true;
  s.UdWaitTime = 120;
  s.UdRedialAfter = 9;
  s.CkbAutoUpdate = true;
  s.CkbSoundEffect = false;
  s.CkbEnableAllSchedules = true;
  s.CkbEnableHotKeyDial = true;
  s.HotKey_Dial = kShortCutCtrl | kShortCutAlt | 'D';
  s.HotKey_Hangup = kShortCutShift | 0x74;  // F5
  s.CkbEnableHotKeyRedial = true;
  s.HotKey_Redial = kShortCutAlt | 0x24;  // Home
  s.HotKey_Keep = kShortCutCtrl | 0x6A;   // Num *
  s.CkbShowMainWhenHotkey = false;
  s.UdStopAfterFailures = 5;
  s.CkbStopOnRefusal = true;
  s.CkbNextNumberWhenBusy = true;
  s.CkbDetailedLog = true;
  s.CkbDeadLine = s.CkbResumeCheck = s.CkbPatientRetry = true;
  s.UdDeadLineEchoes = 4;
  s.UdResumeSettle = 30;
  s.UdPatientRetryMinutes = 30;
  s.CkbNotices = true;
  s.HisRecvMax = 20480;
  s.HisSentMax = 4096;
  s.DataRateOf = 1;
  s.EnableConnectSound = false;
  s.ConnectSoundFile = "C:\\Sounds\\up.wav";
  s.DisconnectSoundFile = "down.wav";
  s.EnableErrorSound = false;
  s.ErrorSoundFile = "error.wav";
  return s;
}

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

TEST_F(SettingsStore, StoredValuesLoadIntoTheirFieldsAndSaveBackAsTheyWere) {
  Stored() = KnownValues();
  EXPECT_TRUE(Load().empty());
  EXPECT_EQ(KnownSettings(), settings_);
  EXPECT_EQ("Work", last_select_);

  registry_ = FakeRegistry();
  ASSERT_TRUE(Save(&last_select_));
  EXPECT_EQ(KnownValues(), Stored());
}

TEST_F(SettingsStore, PositionSavedIsTheWindowsNotTheFields) {
  ASSERT_TRUE(SaveSettings(registry_, keyboard_, settings_, -8, 4000, nullptr));
  EXPECT_EQ(Number(static_cast<uint32_t>(-8)), Stored()["Left"]);
  EXPECT_EQ(200, settings_.Left);
  Load();
  EXPECT_EQ(-8, settings_.Left);
  EXPECT_EQ(4000, settings_.Top);
}

// Changing one stored value at a time must change what loads, and saving what loaded must
// give back that value and leave every other one as it was: each value has its own field.
TEST_F(SettingsStore, EveryValueRoundTripsOnItsOwn) {
  const Values original = KnownValues();
  Stored() = original;
  ASSERT_TRUE(Load().empty());
  const AppSettings original_settings = settings_;
  const std::string original_select = last_select_;

  for (const auto& [name, original_value] : original) {
    Stored() = original;
    Value& value = Stored()[name];
    if (value.type == Type::Dword)
      value.number = value.number <= 1 ? 1 - value.number : value.number + 1;
    else
      value.bytes = name.starts_with("HotKey_") ? "Ctrl+Alt+F12" : value.bytes + "x";
    Values expected = Stored();
    if (name == "CkbSetPWD")
      expected["ConnPWD"].bytes = "";  // the password is not loaded with protection off

    EXPECT_TRUE(Load().empty()) << name;
    EXPECT_TRUE(settings_ != original_settings || last_select_ != original_select) << name;
    registry_ = FakeRegistry();
    ASSERT_TRUE(Save(&last_select_));
    EXPECT_EQ(expected, Stored()) << name;
  }
}

TEST_F(SettingsStore, PasswordOnlyBehindItsSwitch) {
  // The switch as stored counts, not as it was in memory before loading.
  Put("CkbSetPWD", 0u);
  Put("ConnPWD", EncodePassword("secret"));
  settings_.CkbSetPWD = true;
  EXPECT_TRUE(LoadSettings(registry_, keyboard_, settings_, last_select_).empty());
  EXPECT_EQ("", settings_.ConnPWD);
  EXPECT_EQ(0, std::ranges::count(registry_.reads, "ConnPWD"));
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

TEST_F(SettingsStore, TimerNumbersOutsideTheirRangesAreTakenIntoThemAndReported) {
  // Multiplied into milliseconds, such numbers would overflow the timers' intervals.
  Put("UdPingSrv", static_cast<uint32_t>(-1));
  Put("UdWaitTime", 3000000u);
  Put("UdRedialAfter", 1u);
  Put("CbMinSpeed", 99u);  // no item of the list, which the program reads as none chosen
  const std::vector<std::string> problems = Load();
  ASSERT_EQ(2u, problems.size());
  EXPECT_NE(std::string::npos, problems[0].find("\"UdPingSrv\""));
  EXPECT_EQ(
      "The setting \"UdWaitTime\" in HKEY_CURRENT_USER\\Software\\Tarvolin is 3000000, outside 3 "
      "to 999; 999 is used.",
      problems[1]);
  AppSettings expected;
  expected.UdPingSrv = 1;
  expected.UdWaitTime = 999;
  expected.UdRedialAfter = 1;
  expected.CbMinSpeed = 99;
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
  EXPECT_EQ(0, std::ranges::count(registry_.writes, "Rt_LastSelect"));
  const size_t others = registry_.writes.size();

  // Written once, after everything else.
  registry_.writes.clear();
  const std::string selected = "Work";
  ASSERT_TRUE(Save(&selected));
  EXPECT_EQ(others + 1, registry_.writes.size());
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
  void PutRun(RegRoot root, const std::string& path = kExe) {
    registry_.keys[{root, kRunKey}]["Tarvolin"] = {Type::Sz, 0, path};
  }
  bool Says(const std::vector<std::string>& problems, const std::string& text) {
    return problems.size() == 1 && problems[0].find(text) != std::string::npos;
  }

  FakeRegistry registry_;
  const FakeRegistry::Value kEntry{Type::Sz, 0, kExe};
  const std::string kOtherCopy = "D:\\Portable\\Tarvolin\\tarvolin.exe";
};

// The machine-wide key is never written, even where it may be; a value there naming this
// copy (an older version's) goes; values naming another copy stay in both keys.
TEST_F(SettingsRunOnStartup, OnlyTheUsersOwnKeyAndOnlyThisCopysValue) {
  PutRun(RegRoot::LocalMachine, "\"" + kExe + "\"");
  EXPECT_TRUE(ApplyRunOnStartup(registry_, true, kExe).empty());
  ASSERT_NE(nullptr, Run(RegRoot::CurrentUser));
  EXPECT_EQ(kEntry, *Run(RegRoot::CurrentUser));
  EXPECT_EQ(nullptr, Run(RegRoot::LocalMachine));

  EXPECT_TRUE(ApplyRunOnStartup(registry_, false, kExe).empty());
  EXPECT_EQ(nullptr, Run(RegRoot::CurrentUser));

  // Another copy's "Tarvolin" in both keys stays; this one starts under a name of its own,
  // which goes again with the option, and goes to "Tarvolin" once that is free.
  PutRun(RegRoot::LocalMachine, kOtherCopy);
  PutRun(RegRoot::CurrentUser, kOtherCopy);
  const std::string own = "Tarvolin (" + kExe + ")";
  EXPECT_TRUE(ApplyRunOnStartup(registry_, true, kExe).empty());
  EXPECT_EQ(kOtherCopy, Run(RegRoot::LocalMachine)->bytes);
  EXPECT_EQ(kOtherCopy, Run(RegRoot::CurrentUser)->bytes);
  ASSERT_NE(nullptr, registry_.Find(RegRoot::CurrentUser, kRunKey, own));
  EXPECT_EQ(kEntry, *registry_.Find(RegRoot::CurrentUser, kRunKey, own));
  registry_.DeleteValue(RegRoot::CurrentUser, kRunKey, "Tarvolin");
  EXPECT_TRUE(ApplyRunOnStartup(registry_, true, kExe).empty());
  EXPECT_EQ(kEntry, *Run(RegRoot::CurrentUser));
  EXPECT_EQ(nullptr, registry_.Find(RegRoot::CurrentUser, kRunKey, own));
  PutRun(RegRoot::CurrentUser, kOtherCopy);
  EXPECT_TRUE(ApplyRunOnStartup(registry_, true, kExe).empty());
  EXPECT_TRUE(ApplyRunOnStartup(registry_, false, kExe).empty());
  EXPECT_EQ(nullptr, registry_.Find(RegRoot::CurrentUser, kRunKey, own));
  EXPECT_EQ(kOtherCopy, Run(RegRoot::CurrentUser)->bytes);
  EXPECT_EQ(kOtherCopy, Run(RegRoot::LocalMachine)->bytes);
}

TEST_F(SettingsRunOnStartup, RefusalsAreSaidWithTheKey) {
  PutRun(RegRoot::LocalMachine);
  PutRun(RegRoot::CurrentUser);
  registry_.refused.insert(RegRoot::LocalMachine);
  EXPECT_TRUE(Says(ApplyRunOnStartup(registry_, false, kExe), "HKEY_LOCAL_MACHINE\\" + kRunKey));
  EXPECT_EQ(nullptr, Run(RegRoot::CurrentUser));

  registry_.refused = {RegRoot::CurrentUser};
  registry_.keys.clear();
  EXPECT_TRUE(Says(ApplyRunOnStartup(registry_, true, kExe), "HKEY_CURRENT_USER\\" + kRunKey));
  EXPECT_EQ(nullptr, Run(RegRoot::LocalMachine));
}

}  // namespace
