// End to end: what another copy and another dialer left on the machine survives every
// path of the program (a dial, Run at startup and automatic dial on and off, /unregister,
// a portable copy), and a dial saves no password the user did not give.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "commands/command_ids.h"
#include "driver.h"

namespace {

constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kSettingsKey = "Software\\Tarvolin";
constexpr const char* kOtherCopy = "C:\\Other\\Tarvolin\\tarvolin.exe";
constexpr const char* kOtherLibrary = "C:\\Other\\dialer.dll";
constexpr const char* kProfileKey = "RemoteAccess\\Profile\\Other";
constexpr const char* kDefaultProfileKey = ".DEFAULT\\RemoteAccess\\Profile\\Other";

// Home has no saved password, Work two alternate numbers, Other another dialer's handler.
constexpr const char* kPhonebook =
    "[Home]\nStepDelayMs=0\n"
    "[Work]\nStepDelayMs=0\nAlternatePhoneNumbers=555-0102,555-0103\n"
    "[Other]\nStepDelayMs=0\nAutodialDll=C:\\Other\\dialer.dll\nAutodialFunc=OtherDial\n";

std::string Text(HKEY root, const std::string& key, const std::string& name) {
  char value[1024];
  DWORD size = sizeof value;
  if (RegGetValueA(root, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS)
    return "<missing>";
  return value;
}

void SetText(HKEY root, const std::string& key, const std::string& name, const std::string& text) {
  ASSERT_EQ(RegSetKeyValueA(root, key.c_str(), name.c_str(), REG_SZ, text.c_str(),
                            static_cast<DWORD>(text.size() + 1)),
            ERROR_SUCCESS);
}

class OwnershipE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(
        CopyFileA((TestBinDir() + "tvndl.dll").c_str(), (app_.Dir() + "tvndl.dll").c_str(), FALSE));
    app_.WritePhonebook(kPhonebook);
    app_.WriteFile("Entries.ini", "[Home]\r\nUserName=alice\r\n");
    SetText(HKEY_LOCAL_MACHINE, kRunKey, "Tarvolin", kOtherCopy);
    SetText(HKEY_CURRENT_USER, kRunKey, "Tarvolin", kOtherCopy);
    for (const auto& [root, key] :
         {std::pair(HKEY_CURRENT_USER, kProfileKey), std::pair(HKEY_USERS, kDefaultProfileKey)}) {
      SetText(root, key, "AutoDialDllName", kOtherLibrary);
      SetText(root, key, "AutoDialFcnName", "OtherDial");
    }
  }

  void TearDown() override {
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kRunKey, "Tarvolin");
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, "Tarvolin");
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, ("Tarvolin (" + Exe() + ")").c_str());
    RegDeleteTreeA(HKEY_USERS, ".DEFAULT\\RemoteAccess");
  }

  std::string Exe() const { return app_.Dir() + "tarvolin.exe"; }

  // Starts with the two options as given, runs `work`, and exits through the menu.
  void Run(
      bool run_on_startup, bool autodial, const std::function<void()>& work = [] {}) {
    SetUserRegistryNumber(kSettingsKey, "CkbRunOnStartup", run_on_startup);
    SetUserRegistryNumber(kSettingsKey, "CkbAutoDial", autodial);
    app_.Start();
    ASSERT_TRUE(app_.WaitForMainWindow());
    ASSERT_TRUE(WaitUntil([&] { return app_.ListRows(IDC_CNLIST).size() == 3; }));
    work();
    app_.Command(IDM_EXIT1);
    ASSERT_TRUE(app_.WaitForExit());
  }

  // The section of one entry in the substitute's phonebook.
  std::string Entry(const std::string& name) const {
    const std::string book = app_.ReadFile("rasphone.pbk");
    const size_t start = book.find("[" + name + "]");
    if (start == std::string::npos)
      return "<missing>";
    return book.substr(start, book.find("\n[", start) - start);
  }

  bool HasOurHandler(const std::string& name) const {
    return Entry(name).find("AutodialDll=" + app_.Dir() + "tvndl.dll") != std::string::npos;
  }

  bool HasOtherHandler() const {
    const std::string other = Entry("Other");
    return other.find("AutodialDll=C:\\Other\\dialer.dll") != std::string::npos &&
           other.find("AutodialFunc=OtherDial") != std::string::npos;
  }

  // Every value another copy or dialer wrote, as it was written.
  void ExpectForeignValuesUnchanged() const {
    EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, kRunKey, "Tarvolin"), kOtherCopy);
    EXPECT_EQ(Text(HKEY_CURRENT_USER, kRunKey, "Tarvolin"), kOtherCopy);
    for (const auto& [root, key] :
         {std::pair(HKEY_CURRENT_USER, kProfileKey), std::pair(HKEY_USERS, kDefaultProfileKey)}) {
      EXPECT_EQ(Text(root, key, "AutoDialDllName"), kOtherLibrary);
      EXPECT_EQ(Text(root, key, "AutoDialFcnName"), "OtherDial");
    }
    EXPECT_NE(Entry("Work").find("AlternatePhoneNumbers=555-0102,555-0103"), std::string::npos);
    EXPECT_EQ(Entry("Home").find("PasswordStored=1"), std::string::npos) << Entry("Home");
  }

  Tarvolin app_;
};

TEST_F(OwnershipE2E, ForeignValuesSurviveEveryPathAndAnotherDialersHandlerComesBack) {
  const std::string own_run = "Tarvolin (" + Exe() + ")";
  // A dial with both options on: the account goes to RAS without a password.
  Run(true, true, [&] {
    app_.Click(IDC_BTNDIAL);
    ASSERT_TRUE(WaitUntil([&] { return app_.Online(); }));
    app_.Click(IDC_BTNHANGUP);
    ASSERT_TRUE(WaitUntil([&] { return app_.LogCount("\tMessage\tDisconnected") == 1; }));
  });
  EXPECT_NE(Entry("Home").find("UserName=alice"), std::string::npos) << Entry("Home");
  EXPECT_EQ(Text(HKEY_CURRENT_USER, kRunKey, own_run), Exe());
  for (const char* entry : {"Home", "Work", "Other"})
    EXPECT_TRUE(HasOurHandler(entry)) << Entry(entry);
  EXPECT_EQ(UserRegistryText(std::string(kSettingsKey) + "\\AutoDialPrevious\\Other", "Library"),
            kOtherLibrary);
  ExpectForeignValuesUnchanged();

  Run(false, false);
  EXPECT_TRUE(HasOtherHandler()) << Entry("Other");
  EXPECT_FALSE(HasOurHandler("Home"));
  EXPECT_FALSE(HasOurHandler("Work"));
  EXPECT_EQ(Text(HKEY_CURRENT_USER, kRunKey, own_run), "<missing>");
  ExpectForeignValuesUnchanged();

  // Registered again, then taken back by the uninstaller's request.
  Run(true, true);
  ASSERT_TRUE(HasOurHandler("Other"));
  app_.Start("/unregister");
  ASSERT_TRUE(app_.WaitForExit(30000));
  EXPECT_TRUE(HasOtherHandler()) << Entry("Other");
  EXPECT_FALSE(HasOurHandler("Home"));
  EXPECT_EQ(Text(HKEY_CURRENT_USER, kRunKey, own_run), "<missing>");
  ExpectForeignValuesUnchanged();

  // A portable copy with nothing on touches nothing of the machine's.
  app_.WriteFile("portable.ini", "[Settings]\r\n");
  app_.Start();
  ASSERT_TRUE(app_.WaitForMainWindow());
  app_.Command(IDM_EXIT1);
  ASSERT_TRUE(app_.WaitForExit());
  EXPECT_TRUE(HasOtherHandler()) << Entry("Other");
  EXPECT_EQ(Text(HKEY_CURRENT_USER, kRunKey, own_run), "<missing>");
  ExpectForeignValuesUnchanged();
}

}  // namespace
