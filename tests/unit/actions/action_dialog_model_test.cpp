// The action dialogs' rules: row texts, enabled controls, the form's preparation, its
// checks in order, and adding, editing and removing on the working copy.
#include "actions/action_dialog_model.h"

#include <gtest/gtest.h>

#include "action_fixture.h"

namespace {

class ActionDialogTest : public ActionRunnerFixture {
 protected:
  ActionDialogTest() {
    int* handle = nullptr;
    desktop_.windows = {{handle, "Calc"}, {handle, "Bench"}, {handle, "Calc"}};
  }

  ActionListModel List(bool enable_all = true) {
    return ActionListModel(table_, enable_all, form_fields_, runner_);
  }

  ActionFormFields form_fields_;
};

ActionInfo Action(int type, const std::string& text) {
  ActionInfo action;
  action.InUse = true;
  action.ActionType = type;
  (type == kRunStart ? action.FileName : action.WindowText) = text;
  return action;
}

TEST(ActionRowTest, RowsNameTheActionAndItsOwnPoints) {
  ActionInfo start = Action(kRunStart, "x.exe");
  start.WindowStatus = 2;
  start.AfterConnected = true;
  EXPECT_EQ(ActionRowOf(start).Action, "Start x.exe [Minimize]");
  EXPECT_EQ(ActionRowOf(start).PerformAt, "Connected ");
  start.WindowStatus = 9;
  EXPECT_EQ(ActionRowOf(start).Action, "Start x.exe []");

  ActionInfo close = Action(kCloseWindow, "y");
  close.WhenErrorOccurs = true;
  EXPECT_EQ(ActionRowOf(close).Action, "Close y [CONTAINING]");
  EXPECT_EQ(ActionRowOf(close).PerformAt, "Error ");
  close.CloseContainText = false;
  close.BeforeDialing = close.WhenDisconnected = true;
  EXPECT_EQ(ActionRowOf(close).Action, "Close y");
  EXPECT_EQ(ActionRowOf(close).PerformAt, "Dialing Disconnected Error ");

  ActionInfo odd = Action(2, "z");
  EXPECT_EQ(ActionRowOf(odd).Action, "");
}

TEST_F(ActionDialogTest, TheListShowsTheWorkingCopyAndEnablesByTheCheckBoxAndSelection) {
  table_[0] = Action(kRunStart, "a.exe");
  table_[1] = Action(kRunStart, "b.exe");
  table_[2] = Action(kCloseWindow, "c");
  table_[4] = Action(kRunStart, "behind a free slot");
  ActionListModel list = List(false);
  ASSERT_EQ(list.Rows().size(), 3u);

  const auto off = list.UpdateButtons(0);
  EXPECT_FALSE(off.Group || off.Add || off.Edit || off.Remove);
  list.SetEnableAll(true);
  const auto none = list.UpdateButtons(-1);
  EXPECT_TRUE(none.Group && none.Add);
  EXPECT_FALSE(none.Edit || none.Remove);
  const auto one = list.UpdateButtons(1);
  EXPECT_TRUE(one.Edit && one.Remove);

  list.Remove(0);
  EXPECT_EQ(list.Rows()[0].Action, "Start b.exe [Normal]");
  EXPECT_EQ(list.Rows()[1].Action, "Close c [CONTAINING]");
  EXPECT_EQ(list.Working()[3].FileName, "behind a free slot");
  EXPECT_FALSE(list.Working()[99].InUse);
  EXPECT_EQ(table_[0].FileName, "a.exe");  // the table itself waits for OK
}

TEST_F(ActionDialogTest, OkChecksInOrderAndStoresOnlyTheChosenTypesFields) {
  ActionListModel list = List();
  auto form = list.Add();
  ASSERT_TRUE(form);
  EXPECT_EQ(form->Caption(), "New Action");
  ActionFormFields& f = form->Fields();
  EXPECT_EQ(f.WindowStatus, 0);
  EXPECT_TRUE(f.CloseContainText);
  EXPECT_EQ(form->OK(), kCheckPerformAt);  // first, whatever else is missing
  f.AfterConnected = true;
  EXPECT_EQ(form->OK(), kFileNameEmpty);
  f.FileName = "C:\\run.exe";
  f.WindowStatus = -1;
  EXPECT_EQ(form->OK(), kSelectWindowStatus);
  EXPECT_EQ(form->Test(nullptr), kSelectWindowStatus);
  f.WindowStatus = 1;
  EXPECT_EQ(form->Test(&view_), "");
  ASSERT_EQ(shell_.started.size(), 1u);
  EXPECT_EQ(shell_.started[0].show, ShowCommand::ShowMaximized);
  EXPECT_FALSE(list.Working()[0].InUse);  // a test stores nothing
  EXPECT_EQ(form->OK(), "");
  EXPECT_EQ(list.Rows()[0].Action, "Start C:\\run.exe [Maximize]");

  // The Run / Start action becomes a Close window action and keeps its file name.
  ActionFormModel edit = list.Edit(0);
  EXPECT_EQ(edit.Caption(), "Edit Action");
  edit.ShowActionType(kCloseWindow);
  EXPECT_EQ(edit.Fields().WindowList, (std::vector<std::string>{"Bench", "Calc"}));
  EXPECT_EQ(edit.OK(), kWindowTextEmpty);
  EXPECT_EQ(edit.Test(nullptr), kWindowTextEmpty);
  edit.PickWindow(1);
  EXPECT_EQ(edit.Fields().WindowText, "Calc");
  edit.Fields().FileName = "typed but hidden";
  EXPECT_EQ(edit.OK(), "");
  const ActionInfo& stored = list.Working()[0];
  EXPECT_EQ(stored.ActionType, kCloseWindow);
  EXPECT_EQ(stored.WindowText, "Calc");
  EXPECT_EQ(stored.FileName, "C:\\run.exe");
  EXPECT_EQ(stored.WindowStatus, 1);
  EXPECT_TRUE(stored.AfterConnected);
}

TEST_F(ActionDialogTest, EditingFillsTheTypesControlsAndAFullTableTakesNoNewAction) {
  for (ActionInfo& slot : table_)
    slot = Action(kCloseWindow, "w");
  table_[0].CloseContainText = false;
  table_[0].WhenDisconnected = true;
  form_fields_.FileName = "shown last time";
  ActionListModel list = List();
  EXPECT_FALSE(list.Add());

  ActionFormModel edit = list.Edit(0);
  const ActionFormFields& f = edit.Fields();
  EXPECT_EQ(f.ActionType, kCloseWindow);
  EXPECT_EQ(f.WindowText, "w");
  EXPECT_FALSE(f.CloseContainText);
  EXPECT_TRUE(f.WhenDisconnected);
  EXPECT_EQ(f.WindowList.size(), 2u);        // refreshed for a Close window action
  EXPECT_EQ(f.FileName, "shown last time");  // the other type's controls keep their text
  EXPECT_EQ(edit.Test(nullptr), "");         // closing needs no point to test
  EXPECT_EQ(desktop_.closed.size(), 0u);     // no caption is "w"
}

}  // namespace
