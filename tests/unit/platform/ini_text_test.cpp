// Saving a whole INI file beside its backup.
#include "platform/ini_text.h"

#include <gtest/gtest.h>

#include "fakes/fake_app_ports.h"
#include "fakes/fake_profile_file.h"

TEST(IniTextTest, SavedTextReadsBackAndTheFirstBackupStays) {
  FakeFiles files;
  FakeProfileFile profiles(files);
  IniText ini;
  ini.Section("Action0");
  ini.Key("FileName", "C:\\a b.exe");
  ini.Section("Action1");
  ini.Key("FileName", "second");
  std::string error;
  ASSERT_TRUE(SaveWithBackup(files, "A.ini", "A.bak", ini.Text(), error));
  EXPECT_FALSE(files.Exists("A.bak"));  // nothing to keep on the first save
  EXPECT_EQ(profiles.Sections("A.ini"), (std::vector<std::string>{"Action0", "Action1"}));
  EXPECT_EQ(profiles.Read("A.ini", "Action0", "FileName", ""), "C:\\a b.exe");

  ASSERT_TRUE(SaveWithBackup(files, "A.ini", "A.bak", "second save", error));
  ASSERT_TRUE(SaveWithBackup(files, "A.ini", "A.bak", "third save", error));
  EXPECT_EQ(files.content["A.bak"], ini.Text());
  EXPECT_EQ(files.content["A.ini"], "third save");

  files.writable = false;
  EXPECT_FALSE(SaveWithBackup(files, "A.ini", "A.bak", "lost", error));
  EXPECT_EQ(files.content["A.ini"], "third save");
  EXPECT_FALSE(error.empty());
}

TEST(IniTextTest, ValuesReadBackExactlyAndOnlyThoseThatNeedQuotesGetThem) {
  FakeFiles files;
  FakeProfileFile profiles(files);
  const std::vector<std::string> values = {" lead", "trail\t",       "\"both\"", "'single'",
                                           "\"",    "a \"b\" 'c' d", "",         "C:\\a b.exe"};
  IniText ini;
  ini.Section("S");
  for (size_t i = 0; i < values.size(); ++i)
    ini.Key("K" + std::to_string(i), values[i]);
  std::string error;
  ASSERT_TRUE(SaveWithBackup(files, "A.ini", "A.bak", ini.Text(), error));
  for (size_t i = 0; i < values.size(); ++i)
    EXPECT_EQ(profiles.Read("A.ini", "S", "K" + std::to_string(i), "(none)"), values[i]) << i;
  // Others read the file too: a value that needs no quotes is written as it always was.
  EXPECT_NE(ini.Text().find("\r\nK5=a \"b\" 'c' d\r\nK6=\r\nK7=C:\\a b.exe\r\n"),
            std::string::npos);
}
