// End to end: the action list dialog adds, edits and removes actions, and its OK saves
// them to Actions.ini and keeps "Enable all actions".
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actions/action_ids.h"
#include "driver.h"
#include "commands/command_ids.h"

namespace {

bool Enabled(Hwnd dialog, int id) {
  return IsWindowEnabled(static_cast<HWND>(ChildOf(dialog, id)));
}

// Confirms the form and waits until it is gone.
bool Confirm(const Tarvolin& app, Hwnd form, const std::string& title) {
  ClickChild(form, IDOK);
  return WaitUntil([&] { return app.FindTopLevel(title) == nullptr; });
}

TEST(ActionsE2E, TheListAddsEditsRemovesAndSavesActions) {
  Tarvolin app;
  ASSERT_TRUE(app.StartWith("[Home]\nStepDelayMs=0\n"));
  app.Command(IDM_ACTION1);
  Hwnd list_dialog = app.WaitForTopLevel("Actions");
  ASSERT_NE(list_dialog, nullptr);
  Hwnd list = ChildOf(list_dialog, IDC_ACTIONLIST);
  const auto rows = [&] {
    std::vector<std::string> texts;
    for (const ListRow& row : app.ListRowsOf(list))
      texts.push_back(row.Text + "|" + row.SubText);
    return texts;
  };
  EXPECT_FALSE(Enabled(list_dialog, IDC_ACTIONLIST));
  EXPECT_FALSE(Enabled(list_dialog, IDC_BTNADDACTION));
  ClickChild(list_dialog, IDC_CKBENABLEALLACTIONS);
  ASSERT_TRUE(WaitUntil([&] { return Enabled(list_dialog, IDC_BTNADDACTION); }));

  // A Run / Start action, refused until a point is checked.
  ClickChild(list_dialog, IDC_BTNADDACTION);
  Hwnd form = app.WaitForTopLevel("New Action");
  ASSERT_NE(form, nullptr);
  SetChildText(form, IDC_EDFILENAME, "C:\\tools\\first.exe");
  ClickChild(form, IDOK);
  EXPECT_EQ(app.AnswerMessageBox("Information", "check", IDOK), "Please check when the App start.");
  ClickChild(form, IDC_CKBBEFOREDIALING);
  ASSERT_TRUE(Confirm(app, form, "New Action"));

  // A Close window action.
  ClickChild(list_dialog, IDC_BTNADDACTION);
  form = app.WaitForTopLevel("New Action");
  ASSERT_NE(form, nullptr);
  ClickChild(form, IDC_RBCLOSEWINDOW);
  ASSERT_TRUE(
      WaitUntil([&] { return IsWindowVisible(static_cast<HWND>(ChildOf(form, IDC_LBLIST))); }));
  EXPECT_FALSE(IsWindowVisible(static_cast<HWND>(ChildOf(form, IDC_EDFILENAME))));
  SetChildText(form, IDC_EDWINDOWTEXT, "Calc");
  ClickChild(form, IDC_CKBWHENERROROCCURS);
  ASSERT_TRUE(Confirm(app, form, "New Action"));
  ASSERT_TRUE(WaitUntil([&] { return rows().size() == 2; }));
  EXPECT_EQ(rows(), (std::vector<std::string>{"Start C:\\tools\\first.exe [Normal]|Dialing ",
                                              "Close Calc [CONTAINING]|Error "}));

  // The first one edited, then removed.
  app.SelectRowOf(list, 0);
  ASSERT_TRUE(WaitUntil([&] { return Enabled(list_dialog, IDC_BTNEDITACTION); }));
  ClickChild(list_dialog, IDC_BTNEDITACTION);
  form = app.WaitForTopLevel("Edit Action");
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(WindowText(ChildOf(form, IDC_EDFILENAME)), "C:\\tools\\first.exe");
  ClickChild(form, IDC_RBMINIMIZE);
  ASSERT_TRUE(Confirm(app, form, "Edit Action"));
  EXPECT_TRUE(
      WaitUntil([&] { return rows()[0] == "Start C:\\tools\\first.exe [Minimize]|Dialing "; }));
  app.SelectRowOf(list, 0);
  ClickChild(list_dialog, IDC_BTNDELETEACTION);
  ASSERT_TRUE(WaitUntil([&] { return rows().size() == 1; }));
  EXPECT_EQ(rows()[0], "Close Calc [CONTAINING]|Error ");

  ASSERT_TRUE(Confirm(app, list_dialog, "Actions"));
  // The list is saved once its dialog is gone, in one replacement of the file.
  const std::string saved =
      "[Action0]\r\nActionType=1\r\nFileName=\r\nDirectory=\r\nCommandLine=\r\n"
      "WindowStatus=0\r\nWindowText=Calc\r\nCloseContainText=1\r\nBeforeDialing=0\r\n"
      "AfterConnected=0\r\nWhenDisconnected=0\r\nWhenErrorOccurs=1\r\n";
  EXPECT_TRUE(WaitUntil([&] { return app.ReadFile("Actions.ini") == saved; }))
      << app.ReadFile("Actions.ini");
  app.Command(IDM_EXIT1);
  ASSERT_TRUE(app.WaitForExit());
  EXPECT_EQ(UserRegistryNumber("Software\\Tarvolin", "CkbEnableAllActions"), 1);
}

}  // namespace
