// Actions.ini: sections in file order whatever their names, defaults for missing keys,
// the slots saved, the backup and a failed save.
#include "actions/action_store.h"

#include <gtest/gtest.h>

#include "fakes/fake_app_ports.h"
#include "fakes/fake_profile_file.h"

namespace {

using Texts = std::vector<std::string>;

constexpr const char* kIni = "C:\\Tarvolin\\Actions.ini";
constexpr const char* kBak = "C:\\Tarvolin\\Actions.bak";

class ActionStoreTest : public ::testing::Test {
 protected:
  FakeFiles files_;
  FakeProfileFile profiles_{files_};
  ActionStore store_{profiles_, files_};
  ActionTable table_;
  std::string error_;
};

ActionInfo RunAction(const std::string& file) {
  ActionInfo action;
  action.InUse = true;
  action.FileName = file;
  action.AfterConnected = true;
  return action;
}

TEST_F(ActionStoreTest, SectionsLoadInFileOrderWithDefaultsAndSaveBackAsActionN) {
  files_.content[kIni] =
      "[Second]\r\nActionType=1\r\nFileName=C:\\old.exe\r\nWindowStatus=2\r\n"
      "WindowText=Calc\r\nBeforeDialing=1\r\n"
      "[First]\r\nCloseContainText=0\r\nWhenErrorOccurs=-1\r\nWindowStatus=many\r\n"
      "ActionType=x\r\n";
  EXPECT_TRUE(store_.LoadActions(table_).empty());

  ActionInfo second;  // a Close window action that kept its Run / Start fields
  second.InUse = true;
  second.ActionType = kCloseWindow;
  second.FileName = "C:\\old.exe";
  second.WindowStatus = 2;
  second.WindowText = "Calc";
  second.BeforeDialing = true;
  EXPECT_EQ(table_[0], second);
  ActionInfo first;  // numbers that do not parse keep their defaults
  first.InUse = true;
  first.CloseContainText = false;
  first.WhenErrorOccurs = true;
  EXPECT_EQ(table_[1], first);
  EXPECT_FALSE(table_[2].InUse);

  ASSERT_TRUE(store_.SaveActions(table_, error_)) << error_;
  EXPECT_EQ(profiles_.Sections(kIni), (Texts{"Action0", "Action1"}));
  EXPECT_EQ(profiles_.Keys(kIni, "Action0"),
            (Texts{"ActionType", "FileName", "Directory", "CommandLine", "WindowStatus",
                   "WindowText", "CloseContainText", "BeforeDialing", "AfterConnected",
                   "WhenDisconnected", "WhenErrorOccurs"}));
  EXPECT_EQ(profiles_.Read(kIni, "Action0", "FileName", "?"), "C:\\old.exe");
  EXPECT_EQ(profiles_.Read(kIni, "Action0", "CloseContainText", "?"), "1");
  EXPECT_EQ(profiles_.Read(kIni, "Action1", "WhenErrorOccurs", "?"), "1");
  ActionTable again;
  store_.LoadActions(again);
  EXPECT_EQ(again, table_);
}

TEST_F(ActionStoreTest, OnlyTheSlotsBeforeTheFirstFreeOneAreSavedBesideTheFirstBackup) {
  ClearActions(table_);
  ASSERT_TRUE(store_.SaveActions(table_, error_));
  EXPECT_EQ(files_.content[kIni], "");
  EXPECT_FALSE(files_.Exists(kBak));  // nothing to keep yet

  for (int slot = 0; slot < kActionSlots; ++slot)
    table_[slot] = RunAction("app" + std::to_string(slot) + ".exe");
  ASSERT_TRUE(store_.SaveActions(table_, error_));
  const Texts sections = profiles_.Sections(kIni);
  ASSERT_EQ(sections.size(), 100u);
  EXPECT_EQ(sections.back(), "Action99");
  EXPECT_EQ(profiles_.Read(kIni, "Action99", "FileName", ""), "app99.exe");
  EXPECT_EQ(files_.content[kBak], "");  // the first file, kept

  table_[3] = ActionInfo();
  ASSERT_TRUE(store_.SaveActions(table_, error_));
  EXPECT_EQ(profiles_.Sections(kIni), (Texts{"Action0", "Action1", "Action2"}));
  EXPECT_EQ(files_.content[kBak], "");  // an existing backup is never replaced

  const std::string before = files_.content[kIni];
  files_.writable = false;
  EXPECT_FALSE(store_.SaveActions(ActionTable(), error_));
  EXPECT_EQ(files_.content[kIni], before);
  EXPECT_NE(error_.find(kIni), std::string::npos);
}

TEST_F(ActionStoreTest, LoadingFreesSlotsTheFileLacksAndIgnoresSectionsBeyondTheTable) {
  for (int slot = 0; slot < 5; ++slot)
    table_[slot] = RunAction("kept.exe");
  EXPECT_TRUE(store_.LoadActions(table_).empty());  // no file: the table stays
  EXPECT_TRUE(table_[4].InUse);

  files_.content[kIni] = "[A]\r\nFileName=one.exe\r\n[B]\r\nFileName=two.exe\r\n";
  store_.LoadActions(table_);
  EXPECT_EQ(table_[1].FileName, "two.exe");
  EXPECT_EQ(table_[2], ActionInfo());  // a removed action does not come back
  EXPECT_EQ(table_[4], ActionInfo());

  std::string many;
  for (int i = 0; i < 102; ++i)
    many += "[S" + std::to_string(i) + "]\r\nFileName=f" + std::to_string(i) + "\r\n";
  files_.content[kIni] = many;
  const Texts problems = store_.LoadActions(table_);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].find("102"), std::string::npos) << problems[0];
  EXPECT_EQ(table_[99].FileName, "f99");
}

}  // namespace
