// Actions.ini: sections in file order whatever their names, defaults for missing keys,
// the slots saved, the backup, a failed save, and what loading frees and ignores.
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

TEST_F(ActionStoreTest, SectionsLoadInFileOrderWithDefaultsAndSaveBackAsActionN) {
  files_.content[kIni] =
      "[Second]\r\nActionType=1\r\nFileName=C:\\old.exe\r\nWindowStatus=2\r\nWindowText=Calc\r\n"
      "[First]\r\nCloseContainText=0\r\nWhenErrorOccurs=-1\r\nWindowStatus=many\r\n";
  const std::string original = files_.content[kIni];
  EXPECT_TRUE(store_.LoadActions(table_).empty());
  ActionInfo second;  // a Close window action that kept its Run / Start fields
  second.InUse = true;
  second.ActionType = kCloseWindow;
  second.FileName = "C:\\old.exe";
  second.WindowStatus = 2;
  second.WindowText = "Calc";
  EXPECT_EQ(table_[0], second);
  ActionInfo first;  // a number that does not parse keeps its default
  first.InUse = true;
  first.CloseContainText = false;
  first.WhenErrorOccurs = true;
  EXPECT_EQ(table_[1], first);

  ASSERT_TRUE(store_.SaveActions(table_, error_)) << error_;
  EXPECT_EQ(files_.content[kBak], original);
  EXPECT_EQ(profiles_.Sections(kIni), (Texts{"Action0", "Action1"}));
  EXPECT_EQ(profiles_.Keys(kIni, "Action0"),
            (Texts{"ActionType", "FileName", "Directory", "CommandLine", "WindowStatus",
                   "WindowText", "CloseContainText", "BeforeDialing", "AfterConnected",
                   "WhenDisconnected", "WhenErrorOccurs"}));
  ActionTable again;
  store_.LoadActions(again);
  EXPECT_EQ(again, table_);
}

TEST_F(ActionStoreTest, TextsWithQuotesOrBlanksAtTheirEndsLoadBackWhole) {
  table_[0].InUse = true;
  table_[0].FileName = "\"C:\\Program Files\\Mail\\mail.exe\"";
  table_[0].CommandLine = "\"a b.txt\" \"c d.txt\"";  // the outer quotes belong to two arguments
  table_[0].WindowText = " Inbox ";
  ASSERT_TRUE(store_.SaveActions(table_, error_)) << error_;
  ActionTable again;
  store_.LoadActions(again);
  EXPECT_EQ(again, table_);
}

TEST_F(ActionStoreTest, SlotsUpToTheFirstFreeOneAreSavedAndLoadingFreesTheRest) {
  for (int slot = 0; slot < kActionSlots; ++slot)
    table_[slot].InUse = true;
  ASSERT_TRUE(store_.SaveActions(table_, error_));
  EXPECT_EQ(profiles_.Sections(kIni).size(), 100u);
  EXPECT_EQ(profiles_.Sections(kIni).back(), "Action99");
  const std::string hundred = files_.content[kIni];

  table_[3] = ActionInfo();
  ASSERT_TRUE(store_.SaveActions(table_, error_));
  ASSERT_TRUE(store_.SaveActions(table_, error_));
  EXPECT_EQ(profiles_.Sections(kIni), (Texts{"Action0", "Action1", "Action2"}));
  EXPECT_EQ(files_.content[kBak], hundred);  // an existing backup is never replaced
  ActionTable loaded = table_;
  store_.LoadActions(loaded);
  EXPECT_FALSE(loaded[4].InUse);  // a removed action does not come back

  files_.writable = false;
  EXPECT_FALSE(store_.SaveActions(ActionTable(), error_));
  EXPECT_EQ(profiles_.Sections(kIni).size(), 3u);
  EXPECT_NE(error_.find(kIni), std::string::npos);

  files_.content[kIni] = hundred + "[One]\r\n[More]\r\n";
  EXPECT_EQ(store_.LoadActions(loaded).size(), 1u);  // said once, the rest ignored
  EXPECT_TRUE(loaded[99].InUse);
}

}  // namespace
