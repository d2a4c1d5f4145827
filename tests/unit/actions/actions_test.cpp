// The actions in the running program: the action list dialog's opening, OK and Cancel,
// and the actions run on the dial's road.
#include "actions/actions.h"

#include <gtest/gtest.h>

#include "app/mainform_fixture.h"
#include "ui/command_ids.h"

namespace {

constexpr const char* kIni = "C:\\Tarvolin\\Actions.ini";

class ActionsTest : public MainformTest {
 protected:
  ActionsTest()
      : MainformTest(
            "[Good]\nStepDelayMs=0\n[Busy]\nOutcome=busy\nStepDelayMs=0\n"
            "[Slow]\nStepDelayMs=200\n") {}

  // Starts the program with one Run / Start action per point, each program named after it.
  Tmainform& StartWithActions() {
    files_.content[kIni] =
        "[a]\r\nFileName=before\r\nBeforeDialing=1\r\n"
        "[b]\r\nFileName=connected\r\nAfterConnected=1\r\n"
        "[c]\r\nFileName=down\r\nWhenDisconnected=1\r\n"
        "[d]\r\nFileName=error\r\nWhenErrorOccurs=1\r\n";
    Tmainform& form = Start();
    form.Settings().CkbEnableAllActions = true;
    return form;
  }

  std::vector<std::string> Started() {
    std::vector<std::string> files;
    for (const auto& start : shell_.started)
      files.push_back(start.file);
    shell_.started.clear();
    return files;
  }

  using Texts = std::vector<std::string>;
};

TEST_F(ActionsTest, EachPointOfTheDialRunsItsActions) {
  Tmainform& form = StartWithActions();
  EXPECT_TRUE(Started().empty());
  form.CnListSelectItem("Good");
  form.Dial1Click();
  ASSERT_TRUE(ui_.RunUntil([&] { return form.Dialing().Online(); }));
  EXPECT_EQ(Started(), (Texts{"before", "connected"}));
  form.HangUp1Click();
  EXPECT_EQ(Started(), Texts{"down"});
  EXPECT_EQ(LogCount("Perform user defined action..."), 3);

  form.CnListSelectItem("Busy");  // a busy line is no 631
  form.Dial1Click();
  ASSERT_TRUE(ui_.RunUntil([&] { return LogCount("\tError  \t") == 1; }));
  form.HangUp1Click();
  EXPECT_EQ(Started(), (Texts{"before", "down"}));

  const int ports_opened = LogCount("Opening port");
  form.CnListSelectItem("Slow");
  form.Dial1Click();
  ASSERT_TRUE(ui_.RunUntil([&] { return LogCount("Opening port") > ports_opened; }));
  form.HangUp1Click();
  ASSERT_TRUE(ui_.RunUntil([&] { return LogCount("\tError  \t") == 2; }));
  EXPECT_EQ(Started(), (Texts{"before", "down", "error"}));

  form.Exit1Click();
  EXPECT_TRUE(form.FormClose());
  EXPECT_TRUE(Started().empty());  // no WhenDisconnected actions at exit
}

TEST_F(ActionsTest, TheListDialogReadsTheFileAfreshAndOnlyOkKeepsAndSavesTheChanges) {
  Tmainform& form = StartWithActions();
  form.Settings().CkbEnableAllActions = false;
  files_.content[kIni] += "[e]\r\nFileName=added outside\r\n";
  const std::string file = files_.content[kIni];
  bool shown_enabled = true;
  view_.on_action_list = [&](ActionListModel& list) {
    shown_enabled = list.EnableAll();
    EXPECT_EQ(list.Rows().size(), 5u);
    list.Remove(0);
    list.SetEnableAll(true);
    return false;
  };
  form.ControlClick(IDM_ACTION1);
  EXPECT_FALSE(shown_enabled);
  EXPECT_EQ(files_.content[kIni], file);  // Cancel leaves the file
  EXPECT_EQ(form.UserActions().Table()[0].FileName, "before");
  EXPECT_FALSE(form.Settings().CkbEnableAllActions);

  view_.on_action_list = [&](ActionListModel& list) {
    list.Remove(0);
    list.SetEnableAll(true);
    return true;
  };
  form.ControlClick(IDC_BTNACTION);
  EXPECT_TRUE(form.Settings().CkbEnableAllActions);
  EXPECT_EQ(form.UserActions().Table()[0].FileName, "connected");
  EXPECT_EQ(profiles_.Read(kIni, "Action3", "FileName", ""), "added outside");
  EXPECT_EQ(profiles_.Sections(kIni).size(), 4u);
  EXPECT_EQ(files_.content["C:\\Tarvolin\\Actions.bak"], file);

  files_.writable = false;
  form.ControlClick(IDC_BTNACTION);
  ASSERT_EQ(prompts_.errors.size(), 1u);
  EXPECT_NE(prompts_.errors[0].find(kIni), std::string::npos);
}

}  // namespace
