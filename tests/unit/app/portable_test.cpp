// A portable copy: its settings in portable.ini, its data in the folder DataDir names,
// and nothing in the registry that no option asks for.
#include <gtest/gtest.h>

#include "mainform_fixture.h"
#include "rassim/entry.h"
#include "settings/portable_registry.h"
#include "settings/settings_store.h"

namespace {

constexpr const char* kIni = "C:\\Tarvolin\\portable.ini";
constexpr const char* kInternetSettings =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

class PortableTest : public MainformTest {
 protected:
  // Starts the program on the portable registry, dials, hangs up and exits.
  void Run() {
    Tmainform form(MainPortsBuilder(ports_).WithRegistry(*portable_).Build(), view_, {});
    form.FormCreate();
    form.Dial1Click();
    ASSERT_TRUE(ui_.RunUntil([&] { return form.Dialing().Online(); }));
    form.HangUp1Click();
    form.Exit1Click();
    ASSERT_TRUE(form.FormClose());
    wait_time_ = form.Settings().UdWaitTime;
  }

  std::string Setting(const std::string& name) {
    return profiles_.Read(kIni, "Settings", name, "?");
  }

  FakeRegistry* system_ = nullptr;
  std::unique_ptr<Registry> portable_;
  int wait_time_ = 0;
};

TEST_F(PortableTest, SettingsLiveInTheFileAndTheRegistryIsWrittenOnlyForAnOptionThatAsks) {
  files_.content[kIni] = "[Settings]\r\nDataDir=data\r\nUdWaitTime=77\r\n";
  auto system = std::make_unique<FakeRegistry>();
  system_ = system.get();
  portable_ = PortableSetUp(std::move(system), files_, profiles_);
  ASSERT_TRUE(files_.Portable());
  EXPECT_EQ(files_.DataDir(), "C:\\Tarvolin\\data\\");

  Run();
  EXPECT_EQ(wait_time_, 77);
  EXPECT_TRUE(system_->keys.empty());  // not even a key created
  EXPECT_NE(Setting("Left"), "?");
  EXPECT_EQ(Setting("ProgName"), "C:\\Tarvolin\\tarvolin.exe");
  EXPECT_TRUE(files_.Exists("C:\\Tarvolin\\data\\DialLog.TXT"));
  EXPECT_FALSE(files_.Exists("C:\\Tarvolin\\DialLog.TXT"));

  // Automatic dial writes to this computer while on, and takes it back when turned off;
  // another program's handler it found is kept in the file meanwhile.
  phonebook_.Write(phonebook_.Read() + "[Other]\nAutodialDll=C:\\Other\\h.dll\n");
  profiles_.Write(kIni, "Settings", "CkbAutoDial", "1");
  Run();
  const auto* enabled = system_->Find(RegRoot::CurrentUser, kInternetSettings, "EnableAutoDial");
  ASSERT_NE(enabled, nullptr);
  EXPECT_EQ(enabled->bytes, std::string("\x01\0\0\0", 4));
  EXPECT_EQ(profiles_.Read(kIni, "Settings\\AutoDialPrevious\\Other", "Library", "?"),
            "C:\\Other\\h.dll");
  const std::string previous = std::string(kSettingsKey) + "\\AutoDialPrevious\\Other";
  EXPECT_TRUE(portable_->KeyExists(RegRoot::CurrentUser, previous));
  EXPECT_FALSE(system_->KeyExists(RegRoot::CurrentUser, kSettingsKey));
  profiles_.Write(kIni, "Settings", "CkbAutoDial", "0");
  Run();
  EXPECT_EQ(system_->Find(RegRoot::CurrentUser, kInternetSettings, "EnableAutoDial")->bytes,
            std::string(4, '\0'));
  EXPECT_EQ(rassim::LoadEntry(nullptr, "Other")->autodial_dll, "C:\\Other\\h.dll");
  EXPECT_EQ(profiles_.Sections(kIni), std::vector<std::string>{"Settings"});
  EXPECT_FALSE(portable_->KeyExists(RegRoot::CurrentUser, previous));

  // Every other key is the system's.
  std::string text, bytes;
  system_->WriteText(RegRoot::CurrentUser, "RemoteAccess", "InternetProfile", "Second");
  EXPECT_EQ(portable_->ReadText(RegRoot::CurrentUser, "RemoteAccess", "InternetProfile", text),
            RegRead::Ok);
  EXPECT_EQ(text, "Second");
  EXPECT_EQ(portable_->ReadBytes(RegRoot::CurrentUser, kInternetSettings, "EnableAutoDial", bytes),
            RegRead::Ok);
  EXPECT_EQ(bytes, std::string(4, '\0'));
  EXPECT_EQ(
      portable_->SubKeys(RegRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion"),
      std::vector<std::string>{"Internet Settings"});
  EXPECT_EQ(portable_->ReadPerformanceData("906", 100, bytes), RegRead::Missing);

  // Numbers in decimal, binary values in hex; anything else is a value of another type.
  uint32_t number = 0;
  profiles_.Write(kIni, "Settings", "UdPingSrv", "ten");
  EXPECT_EQ(portable_->ReadInt(RegRoot::CurrentUser, kSettingsKey, "UdPingSrv", number),
            RegRead::WrongType);
  ASSERT_TRUE(portable_->WriteBinary(RegRoot::CurrentUser, kSettingsKey, "Blob", "\x01\xff"));
  EXPECT_EQ(Setting("Blob"), "01ff");
  EXPECT_EQ(portable_->ReadBytes(RegRoot::CurrentUser, kSettingsKey, "Blob", bytes), RegRead::Ok);
  EXPECT_EQ(bytes, "\x01\xff");

  // A file that takes no writes is said once, at start.
  profiles_.writes_left = 0;
  Tmainform form(MainPortsBuilder(ports_).WithRegistry(*portable_).Build(), view_, {});
  form.FormCreate();
  ASSERT_EQ(prompts_.errors.size(), 2u);
  EXPECT_NE(prompts_.errors[0].find("\"UdPingSrv\" in C:\\Tarvolin\\portable.ini is not a number"),
            std::string::npos);
  EXPECT_NE(prompts_.errors[1].find("cannot write its settings file C:\\Tarvolin\\portable.ini"),
            std::string::npos);
  profiles_.writes_left = -1;

  // A full path stands as it is.
  profiles_.Write(kIni, "Settings", "DataDir", "D:\\Stick\\Data");
  PortableSetUp(std::make_unique<FakeRegistry>(), files_, profiles_);
  EXPECT_EQ(files_.DataDir(), "D:\\Stick\\Data\\");
}

TEST_F(PortableTest, WithoutPortableIniTheRegistryIsTheSystems) {
  auto system = std::make_unique<FakeRegistry>();
  Registry* given = system.get();
  EXPECT_EQ(PortableSetUp(std::move(system), files_, profiles_).get(), given);
  EXPECT_FALSE(files_.Portable());
  EXPECT_EQ(files_.DataDir(), "C:\\Tarvolin\\");
}

}  // namespace
