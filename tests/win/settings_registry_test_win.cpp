// The settings and the password encoding against the system's own registry, profile
// functions and keyboard layout.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win_ports.h"
#include "settings/hotkey_text.h"
#include "settings/password.h"
#include "settings/settings_store.h"

namespace {

std::vector<std::string> Passwords() {
  std::string all;
  for (char c = 0x20; c <= 0x7E; ++c)
    all += c;
  return {all,        " " + all + " ", "\"" + all + "\"",
          " lead",    "trail ",        "\"quoted\"",
          "'single'", " \" ",          "\""};
}

class SettingsRegistry : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey); }
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey); }

  void SetRaw(const char* name, DWORD type, const void* data, DWORD size) {
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, name, type, data, size));
  }

  // The stored type and bytes, as the system reports them.
  std::pair<DWORD, std::string> GetRaw(const char* name) {
    DWORD type = 0;
    char data[256] = {};
    DWORD size = sizeof(data);
    EXPECT_EQ(ERROR_SUCCESS, RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, name,
                                          RRF_RT_ANY | RRF_NOEXPAND, &type, data, &size));
    return {type, std::string(data, size)};
  }

  std::unique_ptr<Registry> registry_ = MakeWinRegistry();
  std::unique_ptr<Keyboard> keyboard_ = MakeWinKeyboard();
};

TEST_F(SettingsRegistry, RoundTrip) {
  AppSettings saved;
  saved.Left = -20;
  saved.Top = 30;
  saved.WindowMax = true;
  saved.Language = "Deutsch";
  saved.ViewMode = 3;
  saved.CkbWriteLogs = false;
  saved.CkbSetPWD = true;
  saved.ConnPWD = Passwords()[1];
  saved.UdWaitTime = 120;
  saved.CkbEnableHotKeyDial = true;
  saved.HotKey_Dial = 0xC044;
  saved.HotKey_Keep = 0;
  saved.HisRecvMax = -5;
  saved.ConnectSoundFile = "C:\\Sounds\\ring ring.wav";
  const std::string selected = "My ISP";
  ASSERT_TRUE(SaveSettings(*registry_, *keyboard_, saved, saved.Left, saved.Top, &selected));
  WriteProgName(*registry_, "C:\\Tarvolin\\Tarvolin.exe");

  AppSettings loaded;
  std::string last_select;
  EXPECT_TRUE(LoadSettings(*registry_, *keyboard_, loaded, last_select).empty());
  EXPECT_EQ(saved, loaded);
  EXPECT_EQ(selected, last_select);

  EXPECT_EQ(std::make_pair(DWORD{REG_DWORD}, std::string(4, '\0')), GetRaw("CkbWriteLogs"));
  EXPECT_EQ(std::make_pair(DWORD{REG_SZ}, std::string("Ctrl+Alt+D", 11)), GetRaw("HotKey_Dial"));
  EXPECT_EQ(std::make_pair(DWORD{REG_SZ}, std::string(1, '\0')), GetRaw("HotKey_Keep"));
  EXPECT_EQ(REG_SZ, GetRaw("ProgName").first);
}

TEST_F(SettingsRegistry, WrongTypeIsReportedAndTheRestLoads) {
  SetRaw("UdWaitTime", REG_SZ, "120", 4);
  DWORD nine = 9;
  SetRaw("UdRedialAfter", REG_DWORD, &nine, sizeof(nine));
  SetRaw("Rt_LastSelect", REG_BINARY, "Home", 4);

  AppSettings loaded;
  std::string last_select;
  std::vector<std::string> problems = LoadSettings(*registry_, *keyboard_, loaded, last_select);
  ASSERT_EQ(2u, problems.size());
  EXPECT_NE(std::string::npos, problems[0].find("\"UdWaitTime\""));
  EXPECT_NE(std::string::npos, problems[1].find("\"Rt_LastSelect\""));
  EXPECT_EQ(AppSettings{}.UdWaitTime, loaded.UdWaitTime);
  EXPECT_EQ(9, loaded.UdRedialAfter);
  EXPECT_EQ("", last_select);
}

TEST_F(SettingsRegistry, Adapter) {
  const RegRoot kUser = RegRoot::CurrentUser;
  std::string text = "unchanged";
  uint32_t number = 7;
  EXPECT_EQ(RegRead::Missing, registry_->ReadText(kUser, kSettingsKey, "Text", text));
  EXPECT_EQ(RegRead::Missing, registry_->ReadInt(kUser, kSettingsKey, "Number", number));
  EXPECT_TRUE(registry_->DeleteValue(kUser, kSettingsKey, "Text"));  // no key: nothing to do
  EXPECT_FALSE(registry_->ValueExists(kUser, kSettingsKey, "Text"));

  SetRaw("Unterminated", REG_SZ, "abc", 3);
  EXPECT_EQ(RegRead::Ok, registry_->ReadText(kUser, kSettingsKey, "Unterminated", text));
  EXPECT_EQ("abc", text);
  SetRaw("Binary", REG_BINARY, "\1\0\0\0", 4);
  EXPECT_EQ(RegRead::WrongType, registry_->ReadInt(kUser, kSettingsKey, "Binary", number));
  EXPECT_EQ(RegRead::WrongType, registry_->ReadText(kUser, kSettingsKey, "Binary", text));
  EXPECT_EQ(7u, number);

  ASSERT_TRUE(registry_->WriteInt(kUser, kSettingsKey, "Number", 0xFFFFFFFE));
  EXPECT_EQ(RegRead::Ok, registry_->ReadInt(kUser, kSettingsKey, "Number", number));
  EXPECT_EQ(0xFFFFFFFEu, number);
  EXPECT_EQ(RegRead::WrongType, registry_->ReadText(kUser, kSettingsKey, "Number", text));
  const std::string long_text(5000, 'x');
  ASSERT_TRUE(registry_->WriteText(kUser, kSettingsKey, "Text", long_text));
  EXPECT_EQ(RegRead::Ok, registry_->ReadText(kUser, kSettingsKey, "Text", text));
  EXPECT_EQ(long_text, text);
  EXPECT_TRUE(registry_->ValueExists(kUser, kSettingsKey, "Text"));
  EXPECT_TRUE(registry_->DeleteValue(kUser, kSettingsKey, "Text"));
  EXPECT_FALSE(registry_->ValueExists(kUser, kSettingsKey, "Text"));
}

TEST_F(SettingsRegistry, PasswordsSurviveTheRegistry) {
  for (const std::string& password : Passwords()) {
    AppSettings saved;
    saved.CkbSetPWD = true;
    saved.ConnPWD = password;
    ASSERT_TRUE(SaveSettings(*registry_, *keyboard_, saved, 0, 0, nullptr));
    AppSettings loaded;
    std::string last_select;
    LoadSettings(*registry_, *keyboard_, loaded, last_select);
    EXPECT_EQ(password, loaded.ConnPWD);
  }
}

TEST(SettingsProfileFile, PasswordsSurviveTheProfileFunctions) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string file = std::string(temp) + "settings-password-test.ini";
  char read[512] = {};

  // What the encoding protects against: the plain text loses its blanks and quotes.
  WritePrivateProfileStringA("Entry", "Pwd", " \"secret\" ", file.c_str());
  GetPrivateProfileStringA("Entry", "Pwd", "", read, sizeof(read), file.c_str());
  EXPECT_STREQ("secret", read);

  for (const std::string& password : Passwords()) {
    ASSERT_TRUE(
        WritePrivateProfileStringA("Entry", "Pwd", EncodePassword(password).c_str(), file.c_str()));
    DWORD length = GetPrivateProfileStringA("Entry", "Pwd", "", read, sizeof(read), file.c_str());
    EXPECT_EQ(password, DecodePassword(std::string(read, length)));
  }
  DeleteFileA(file.c_str());
}

TEST(SettingsKeyboard, LayoutNamesReadBack) {
  std::unique_ptr<Keyboard> keyboard = MakeWinKeyboard();
  // The test prefix runs a US layout, where the grave-accent key is VK_OEM_3.
  AppSettings defaults;
  SetDefaultSettings(*keyboard, defaults);
  EXPECT_EQ(0x80C0, defaults.HotKey_Dial);
  // Keys told apart only by the extended-key flag get names of their own.
  EXPECT_NE(keyboard->KeyName(VK_DIVIDE), keyboard->KeyName(VK_OEM_2));
  EXPECT_NE(keyboard->KeyName(VK_NUMLOCK), keyboard->KeyName(VK_PAUSE));

  for (int key = 1; key <= 0xFF; ++key) {
    uint16_t code = static_cast<uint16_t>(kShortCutCtrl | kShortCutAlt | key);
    std::string text = ShortCutToText(code, *keyboard);
    if (text.empty())
      continue;
    EXPECT_EQ(text, ShortCutToText(TextToShortCut(text, *keyboard), *keyboard)) << key;
  }
}

}  // namespace
