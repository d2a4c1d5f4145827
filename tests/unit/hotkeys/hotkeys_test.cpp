// Global hotkeys: the system's form of a shortcut, which hotkeys the system holds when,
// the hotkey dialog's effect, and a pressed hotkey bringing the window back.
#include "hotkeys/hotkeys.h"

#include <gtest/gtest.h>

#include "app/mainform_fixture.h"
#include "commands/command_ids.h"

namespace {

using Calls = std::vector<std::string>;
using Held = std::map<int, FakeHotKeys::Combination>;

TEST(HotKeyCodes, AShortCutSplitsIntoTheSystemsFlagsAndKeyAndFillsAHotKeyBox) {
  EXPECT_EQ(SplitShortCut(0xC044), (HotKeyCombination{3, 0x44}));  // Ctrl+Alt+D
  EXPECT_EQ(SplitShortCut(0x2074), (HotKeyCombination{4, 0x74}));  // Shift+F5
  EXPECT_EQ(HotKeyBoxValue(0x8031), 0x0431);                       // Alt+1
  EXPECT_EQ(HotKeyBoxValue(0x6044), 0x0344);                       // Shift+Ctrl+D
  EXPECT_EQ(HotKeyBoxValue(0x8100), 0);                            // no key a box can show
  for (uint16_t code : {0xE07B, 0x0041, 0})
    EXPECT_EQ(ShortCutOfHotKeyBox(HotKeyBoxValue(code)), code) << code;
  EXPECT_EQ(ShortCutOfHotKeyBox(0x0C2E), 0x802E);  // Alt with the extended Del key
  EXPECT_EQ(ShortCutOfHotKeyBox(0x0700), 0);       // modifiers without a key
}

class HotKeysTest : public MainformTest {
 protected:
  void Set(const std::string& name, uint32_t value) {
    registry_.WriteInt(RegRoot::CurrentUser, "Software\\Tarvolin", name, value);
  }
  void Set(const std::string& name, const std::string& text) {
    registry_.WriteText(RegRoot::CurrentUser, "Software\\Tarvolin", name, text);
  }
};

TEST_F(HotKeysTest, OnlyEnabledHotKeysWithAKeyAreHeldARefusalIsSilentAndExitWithdrawsThem) {
  Start();
  EXPECT_TRUE(hotkeys_.calls.empty());  // a first start holds none
  for (const char* name : {"CkbEnableHotKeyDial", "CkbEnableHotKeyHangup", "CkbEnableHotKeyRedial",
                           "CkbEnableHotKeyKeep"})
    Set(name, 1);
  Set("HotKey_Redial", "Ctrl+Alt+D");
  Set("HotKey_Keep", "");                     // no key
  hotkeys_.taken_elsewhere.insert({1, '1'});  // Alt+1, Hang up's
  Start();
  EXPECT_EQ(hotkeys_.held, (Held{{0xA001, {1, 0xC0}}, {0xA003, {3, 'D'}}}));
  EXPECT_EQ(hotkeys_.calls, (Calls{"register 40961", "register 40962", "register 40963"}));
  EXPECT_TRUE(prompts_.errors.empty());

  hotkeys_.calls.clear();
  form_->Exit1Click();
  EXPECT_TRUE(form_->FormClose());
  EXPECT_EQ(hotkeys_.calls, (Calls{"unregister 40961", "unregister 40963"}));
}

TEST_F(HotKeysTest, TheDialogShowsTheSettingsAndItsOkWithdrawsThenObtainsTheHotKeysAnew) {
  Start();
  const AppSettings before = form_->Settings();
  form_->ControlClick(IDC_BTNHOTKEY);  // cancelled
  const HotKeyChoices defaults{
      {false, 0x80C0}, {false, 0x8031}, {false, 0x8032}, {false, 0x8033}, true};
  EXPECT_EQ(view_.hotkey_dialog_input, defaults);
  EXPECT_EQ(form_->Settings(), before);

  HotKeyChoices& answer = view_.hotkey_dialog_answer.emplace(defaults);
  answer.redial.enabled = true;
  answer.show_main = false;
  form_->ControlClick(IDM_HOTKEY1);
  form_->ControlClick(IDM_HOTKEY1);
  EXPECT_EQ(hotkeys_.calls, (Calls{"register 40963", "unregister 40963", "register 40963"}));
  EXPECT_EQ(hotkeys_.held, (Held{{0xA003, {1, '2'}}}));
  EXPECT_FALSE(form_->Settings().CkbShowMainWhenHotkey);

  // Disabled, a hotkey keeps its new combination for later.
  answer.redial = {false, 0xC044};
  form_->ControlClick(IDM_HOTKEY1);
  EXPECT_TRUE(hotkeys_.held.empty());
  EXPECT_EQ(view_.hotkey_dialog_input->redial.code, 0x8032);
  EXPECT_EQ(form_->Settings().HotKey_Redial, 0xC044);
}

TEST_F(HotKeysTest, APressedHotKeyShowsTheWindowFirstWhenAskedThenRunsItsCommand) {
  Start();
  form_->FormClose();  // to the tray
  for (int id : {0xA000, 0xA005})
    form_->WMHotKey(id);
  EXPECT_FALSE(view_.visible);
  form_->WMHotKey(kHotKeyKeepId);
  EXPECT_TRUE(view_.visible);
  EXPECT_TRUE(form_->Settings().CkbKeepConnection);
}

}  // namespace
