// Running actions and the rules of their dialogs, over fakes; and the actions run at the
// points of a dial in the running program.
#include "actions/actions.h"

#include <gtest/gtest.h>

#include "app/mainform_fixture.h"

namespace {

using Texts = std::vector<std::string>;

// Log lines and shell requests land in one journal, to see what comes before what.
class JournalShell : public FakeShell {
 public:
  explicit JournalShell(Texts& journal) : journal_(journal) {}
  bool OpenWith(const std::string& file, const std::string& parameters,
                const std::string& directory, ShowCommand show, void* owner) override {
    journal_.push_back("open " + file);
    return FakeShell::OpenWith(file, parameters, directory, show, owner);
  }

 private:
  Texts& journal_;
};

class ActionRunnerTest : public ::testing::Test {
 protected:
  ActionRunnerTest() { settings_.CkbEnableAllActions = true; }

  FakeMainView view_;
  JournalShell shell_{view_.journal};
  FakeDesktop desktop_;
  FakeFiles files_;
  FakeClock clock_;
  FakeLocale locale_;
  FakePrompts prompts_;
  AppSettings settings_;
  ConnectionLog log_{files_, clock_, locale_, prompts_, shell_, view_, settings_};
  ActionRunner runner_{shell_, desktop_, log_, settings_};
  ActionTable table_;
  ActionFormFields form_fields_;
};

ActionInfo Action(int type, const std::string& text, int status = 0) {
  ActionInfo action;
  action.InUse = true;
  action.ActionType = type;
  (type == kRunStart ? action.FileName : action.WindowText) = text;
  action.WindowStatus = status;
  action.BeforeDialing = true;
  return action;
}

TEST_F(ActionRunnerTest, ActionsOfThePointRunInSlotOrderEachAfterItsLogLine) {
  table_[0] = Action(kRunStart, "first.exe");
  table_[0].CommandLine = "-x";
  table_[1] = Action(kRunStart, "other.exe");
  table_[1].BeforeDialing = false;
  table_[2] = Action(kRunStart, "second.exe", 2);
  table_[3] = Action(2, "from a hand-edited file");
  table_[5] = Action(kRunStart, "behind a free slot");
  runner_.PerformActions(table_, PerformAt::BeforeDialing, &view_);
  const std::string line = "status Perform user defined action...";
  EXPECT_EQ(view_.journal, (Texts{line, "open first.exe", line, "open second.exe", line}));
  EXPECT_EQ(view_.status_color, kLogMessageColor);
  ASSERT_EQ(shell_.started.size(), 2u);
  EXPECT_EQ(shell_.started[0].parameters, "-x");
  EXPECT_EQ(shell_.started[0].show, ShowCommand::Show);  // "Normal" is not SW_SHOWNORMAL
  EXPECT_EQ(shell_.started[0].owner, &view_);
  EXPECT_EQ(shell_.started[1].show, ShowCommand::Minimize);

  view_.journal.clear();
  runner_.PerformActions(table_, PerformAt::WhenErrorOccurs, &view_);
  settings_.CkbEnableAllActions = false;
  runner_.PerformActions(table_, PerformAt::BeforeDialing, &view_);
  EXPECT_TRUE(view_.journal.empty());
}

TEST_F(ActionRunnerTest, CloseWindowsMatchesCaptionsIgnoringTheCaseOfAToZOnly) {
  int w[5];
  desktop_.windows = {{&w[0], "Untitled - Notepad"},
                      {&w[1], "NOTEPAD"},
                      {&w[2], ""},
                      {&w[3], "\xC9t\xC9"},
                      {&w[4], "NOTEPAD"}};
  const auto closes = [&](const std::string& text, bool containing) {
    desktop_.closed.clear();
    runner_.CloseWindows(text, containing);
    return desktop_.closed;
  };
  using Windows = std::vector<void*>;
  EXPECT_EQ(closes("notepad", true), (Windows{&w[0], &w[1], &w[4]}));
  EXPECT_EQ(closes("notepad", false), (Windows{&w[1], &w[4]}));
  EXPECT_EQ(closes("", true), Windows{});
  EXPECT_EQ(closes("\xE9t\xE9", true), Windows{});  // no folding beyond A-Z
  EXPECT_EQ(runner_.WindowCaptions(), (Texts{"NOTEPAD", "Untitled - Notepad", "\xC9t\xC9"}));
}

TEST_F(ActionRunnerTest, ListRowsNameEachActionAndItsOwnPoints) {
  ActionInfo start = Action(kRunStart, "x", 2);
  start.BeforeDialing = false;
  start.AfterConnected = true;
  EXPECT_EQ(ActionRowOf(start).Action, "Start x [Minimize]");
  EXPECT_EQ(ActionRowOf(start).PerformAt, "Connected ");
  ActionInfo close = Action(kCloseWindow, "y");
  close.BeforeDialing = false;
  close.WhenErrorOccurs = true;
  EXPECT_EQ(ActionRowOf(close).Action, "Close y [CONTAINING]");
  EXPECT_EQ(ActionRowOf(close).PerformAt, "Error ");
  close.CloseContainText = false;
  EXPECT_EQ(ActionRowOf(close).Action, "Close y");
  EXPECT_EQ(ActionRowOf(Action(2, "z")).Action, "");

  table_[0] = start;
  table_[1] = close;
  ActionListModel list(table_, false, form_fields_, runner_);
  EXPECT_FALSE(list.UpdateButtons(0).Add);
  list.SetEnableAll(true);
  EXPECT_TRUE(list.UpdateButtons(-1).Add);
  EXPECT_FALSE(list.UpdateButtons(-1).Remove);
  list.Remove(0);
  EXPECT_EQ(list.Rows().size(), 1u);
  EXPECT_EQ(list.Rows()[0].Action, "Close y");
  EXPECT_EQ(table_[0], start);  // the table itself waits for OK
}

TEST_F(ActionRunnerTest, TheFormChecksInOrderAndStoresOnlyTheChosenTypesFields) {
  ActionListModel list(table_, true, form_fields_, runner_);
  auto form = list.Add();
  ASSERT_TRUE(form);
  ActionFormFields& f = form->Fields();
  EXPECT_EQ(form->OK(), kCheckPerformAt);  // first, whatever else is missing
  f.AfterConnected = true;
  EXPECT_EQ(form->OK(), kFileNameEmpty);
  f.FileName = "run.exe";
  f.WindowStatus = -1;
  EXPECT_EQ(form->OK(), kSelectWindowStatus);
  f.WindowStatus = 1;
  EXPECT_EQ(form->Test(nullptr), "");
  EXPECT_EQ(shell_.started.at(0).show, ShowCommand::ShowMaximized);
  EXPECT_FALSE(list.Working()[0].InUse);  // a test stores nothing
  EXPECT_EQ(form->OK(), "");

  // Turned into a Close window action, it keeps its file name.
  desktop_.windows = {{nullptr, "Calc"}, {nullptr, "Bench"}};
  ActionFormModel edit = list.Edit(0);
  edit.ShowActionType(kCloseWindow);
  EXPECT_EQ(edit.OK(), kWindowTextEmpty);
  edit.PickWindow(1);
  EXPECT_EQ(edit.OK(), "");
  EXPECT_EQ(list.Working()[0].WindowText, "Calc");
  EXPECT_EQ(list.Working()[0].FileName, "run.exe");

  table_.fill(Action(kRunStart, "x"));
  EXPECT_FALSE(ActionListModel(table_, true, form_fields_, runner_).Add());
}

class ActionsInProgramTest : public MainformTest {
 protected:
  ActionsInProgramTest()
      : MainformTest(
            "[Good]\nStepDelayMs=0\n[Busy]\nOutcome=busy\nStepDelayMs=0\n"
            "[Slow]\nStepDelayMs=200\n") {}

  // The programs started since the last call.
  Texts Started() {
    Texts files;
    for (const auto& start : shell_.started)
      files.push_back(start.file);
    shell_.started.clear();
    return files;
  }
};

TEST_F(ActionsInProgramTest, EachPointOfTheDialRunsItsActions) {
  files_.content["C:\\Tarvolin\\Actions.ini"] =
      "[a]\r\nFileName=before\r\nBeforeDialing=1\r\n[b]\r\nFileName=up\r\nAfterConnected=1\r\n"
      "[c]\r\nFileName=down\r\nWhenDisconnected=1\r\n[d]\r\nFileName=631\r\nWhenErrorOccurs=1\r\n";
  Tmainform& form = Start();
  form.Settings().CkbEnableAllActions = true;
  form.CnListSelectItem("Good");
  form.Dial1Click();
  ASSERT_TRUE(ui_.RunUntil([&] { return form.Dialing().Online(); }));
  form.HangUp1Click();
  EXPECT_EQ(Started(), (Texts{"before", "up", "down"}));

  form.CnListSelectItem("Busy");
  form.Dial1Click();
  ASSERT_TRUE(ui_.RunUntil([&] { return LogCount("\tError  \t") == 1; }));
  form.HangUp1Click();
  form.CnListSelectItem("Slow");
  const int ports_opened = LogCount("Opening port");
  form.Dial1Click();
  ASSERT_TRUE(ui_.RunUntil([&] { return LogCount("Opening port") > ports_opened; }));
  form.HangUp1Click();
  ASSERT_TRUE(ui_.RunUntil([&] { return LogCount("\tError  \t") == 2; }));
  EXPECT_EQ(Started(), (Texts{"before", "down", "before", "down", "631"}));
}

}  // namespace
