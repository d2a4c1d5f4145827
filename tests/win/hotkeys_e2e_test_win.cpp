// End to end: the hotkey dialog on a first start, the combinations the system holds for
// the program, a real key press, the hotkey message while hidden, and exit.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "driver.h"
#include "settings/hotkey_ids.h"
#include "commands/command_ids.h"

namespace {

// Another process cannot see whose hotkeys the system holds, but it is refused a
// combination that one holds: so the test asks for it itself, and gives it back at once.
bool HeldByAnother(UINT key) {
  if (!RegisterHotKey(nullptr, 0xBFFF, MOD_ALT, key))
    return true;
  UnregisterHotKey(nullptr, 0xBFFF);
  return false;
}

// The defaults: Alt with the grave-accent key for Dial, Alt+1, Alt+2 and Alt+3.
struct Row {
  int check, box;
  UINT key;
} constexpr kDial{IDC_CKBENABLEHOTKEYDIAL, IDC_HKDIAL, VK_OEM_3},
    kHangup{IDC_CKBENABLEHOTKEYHANGUP, IDC_HKHANGUP, '1'},
    kRedial{IDC_CKBENABLEHOTKEYREDIAL, IDC_HKREDIAL, '2'},
    kKeep{IDC_CKBENABLEHOTKEYKEEP, IDC_HKKEEP, '3'};

constexpr const char* kSettingsKey = "Software\\Tarvolin";

// Once the dialog is gone the program takes the hotkeys and then saves its settings:
// until Rt_LastSelect, the last of them, is written again, a combination tried here could
// be taken from under the program.
HWND OpenDialogAnd(const Tarvolin& app, const std::function<void(HWND)>& work) {
  app.Command(IDM_HOTKEY1);
  HWND dialog = static_cast<HWND>(app.WaitForTopLevel("HotKeyForm"));
  if (dialog) {
    work(dialog);
    DeleteUserRegistryValue(kSettingsKey, "Rt_LastSelect");
    ClickChild(dialog, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    EXPECT_TRUE(
        WaitUntil([&] { return UserRegistryText(kSettingsKey, "Rt_LastSelect") == "Home"; }));
  }
  return dialog;
}

TEST(HotKeysE2E, OnAFirstStartNoneIsHeldEnablingRedialHoldsItAloneUntilExit) {
  Tarvolin app;
  ASSERT_TRUE(app.StartWith("[Home]\nStepDelayMs=10\n"));
  ASSERT_TRUE(OpenDialogAnd(app, [](HWND dialog) {
    for (const Row& row : {kDial, kHangup, kRedial, kKeep}) {
      EXPECT_FALSE(HeldByAnother(row.key)) << row.key;
      EXPECT_FALSE(ChildChecked(dialog, row.check)) << row.check;
      HWND box = GetDlgItem(dialog, row.box);
      EXPECT_FALSE(IsWindowEnabled(box)) << row.box;
      EXPECT_EQ(SendMessageA(box, HKM_GETHOTKEY, 0, 0), MAKEWORD(row.key, HOTKEYF_ALT));
    }
    EXPECT_TRUE(ChildChecked(dialog, IDC_CKBSHOWMAINWHENHOTKEY));
    ClickChild(dialog, kRedial.check);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(dialog, kRedial.box)); }));
  }));
  for (const Row& row : {kDial, kHangup, kRedial, kKeep})
    EXPECT_EQ(HeldByAnother(row.key), row.key == '2') << row.key;

  // Pressed, the key held runs the program's Redial: it hangs up and dials.
  INPUT keys[4] = {};
  const WORD codes[4] = {VK_MENU, '2', '2', VK_MENU};
  for (int i = 0; i < 4; ++i)
    keys[i] = {INPUT_KEYBOARD, {.ki = {codes[i], 0, i < 2 ? 0u : KEYEVENTF_KEYUP, 0, 0}}};
  SendInput(4, keys, sizeof(INPUT));
  ASSERT_TRUE(WaitUntil([&] { return app.Text(IDC_LBLONLINE) == "Online"; }));
  const std::string log = app.ReadFile("DialLog.TXT");
  EXPECT_LT(log.find("\tDisconnected\r\n"), log.find("Connecting to Home...")) << log;

  // Confirmed again, the dialog gives the combination back and takes it anew.
  ASSERT_TRUE(OpenDialogAnd(app, [](HWND) {}));
  EXPECT_TRUE(HeldByAnother('2'));

  // Exit withdraws the hotkeys before it saves the session, which the accounting file,
  // held open here, stops with a message: the program still runs, without the key.
  HANDLE csv = CreateFileA((app.Dir() + "TimeCount.CSV").c_str(), GENERIC_READ, 0, nullptr,
                           OPEN_ALWAYS, 0, nullptr);
  ASSERT_NE(csv, INVALID_HANDLE_VALUE);
  app.Command(IDM_EXIT1);
  EXPECT_TRUE(WaitUntil([&] { return app.FindTopLevel("Error") != nullptr; }));
  EXPECT_FALSE(HeldByAnother('2'));
  CloseHandle(csv);
  EXPECT_NE(app.AnswerMessageBox("Error", "TimeCount", IDOK), "");
  EXPECT_TRUE(app.WaitForExit());
}

TEST(HotKeysE2E, TheDialHotKeyDialsWithoutShowingTheHiddenWindowWhenAskedNotTo) {
  Tarvolin app;
  SetUserRegistryNumber(kSettingsKey, "CkbShowMainWhenHotkey", 0);
  ASSERT_TRUE(app.StartWith("[Home]\nStepDelayMs=10\n"));
  app.PostToMain(WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !app.MainWindowVisible(); }));
  app.PostToMain(WM_HOTKEY, 0xA001, MAKELPARAM(MOD_ALT, VK_OEM_3));
  ASSERT_TRUE(WaitUntil([&] { return app.Text(IDC_LBLONLINE) == "Online"; }));
  EXPECT_FALSE(app.MainWindowVisible());
}

}  // namespace
