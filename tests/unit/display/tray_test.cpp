// The tray icon and its menu: each item runs its command, the show/hide item always names
// what it will do, and the icon shows the line's state.
#include "display/tray.h"

#include <gtest/gtest.h>

#include "app/mainform_fixture.h"
#include "commands/command_ids.h"
#include "display/main_menu.h"

namespace {

class TrayTest : public MainformTest {
 protected:
  TrayTest() : MainformTest("[Good]\nStepDelayMs=0\n") {}
};

TEST_F(TrayTest, TheMenusItemsRunTheirCommandsInOrderAndTheFirstNamesTheNextAction) {
  Tmainform& form = Start();
  std::vector<std::optional<Command>> commands;
  for (const MenuItemSpec& item : TrayPopItems())
    commands.push_back(CommandOfId(item.Command));
  using enum Command;
  const std::vector<std::optional<Command>> expected = {
      ShowHideMainform, About,  std::nullopt, Dial,   HangUp, KeepConnection, std::nullopt,
      Schedule,         Action, HotKey,       Option, Usage,  std::nullopt,   Exit};
  EXPECT_EQ(commands, expected);

  EXPECT_EQ(form.TrayIcon().ShowHideCaption(), "&Hide Mainform");
  form.ControlClick(IDM_SHOWHIDEMAINFORM1);
  EXPECT_FALSE(view_.visible);
  EXPECT_TRUE(form.HiddenToTray());
  EXPECT_EQ(form.TrayIcon().ShowHideCaption(), "&Show MainForm");
  form.ControlClick(IDM_SHOWHIDEMAINFORM1);
  EXPECT_TRUE(view_.visible);
  EXPECT_FALSE(form.HiddenToTray());
  EXPECT_EQ(form.TrayIcon().ShowHideCaption(), "&Hide MainForm");
  form.FormClose();  // closing goes to the tray too
  EXPECT_EQ(form.TrayIcon().ShowHideCaption(), "&Show MainForm");
  form.UserMessage(0);
  EXPECT_EQ(form.TrayIcon().ShowHideCaption(), "&Hide MainForm");
}

TEST_F(TrayTest, TheIconShowsTheLineAndAHideOnConnectIsUndoneByOneClick) {
  Tmainform& form = Start();
  EXPECT_EQ(view_.icon_index, 0);
  EXPECT_EQ(view_.icon_hint, "Tarvolin");
  form.Settings().CkbMinToTray = true;
  form.Dial1Click();
  ASSERT_TRUE(ui_.RunUntil([&] { return form.Dialing().Online(); }));
  EXPECT_EQ(view_.icon_index, 1);
  EXPECT_FALSE(view_.visible);
  form.CheckTimerTimer();
  EXPECT_EQ(view_.icon_hint, "Tarvolin [Good] - Online");

  form.ControlClick(IDM_SHOWHIDEMAINFORM1);
  EXPECT_TRUE(view_.visible);
  form.HangUp1Click();
  EXPECT_EQ(view_.icon_index, 0);
  form.CheckTimerTimer();
  EXPECT_EQ(view_.icon_hint, "Tarvolin [Good] - Offline");
}

}  // namespace
