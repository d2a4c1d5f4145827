// The hotkey dialog's view: the system's hotkey boxes, loaded from the choices and read
// back on OK.
#include <windows.h>
#include <commctrl.h>

#include "settings/hotkey_dialog.h"
#include "settings/hotkey_ids.h"

namespace {

struct Row {
  int check;
  int box;
  HotKeyChoice HotKeyChoices::*choice;
};

constexpr Row kRows[] = {
    {IDC_CKBENABLEHOTKEYREDIAL, IDC_HKREDIAL, &HotKeyChoices::redial},
    {IDC_CKBENABLEHOTKEYDIAL, IDC_HKDIAL, &HotKeyChoices::dial},
    {IDC_CKBENABLEHOTKEYHANGUP, IDC_HKHANGUP, &HotKeyChoices::hangup},
    {IDC_CKBENABLEHOTKEYKEEP, IDC_HKKEEP, &HotKeyChoices::keep},
};

class HotKeyDialog : public DialogWin {
 public:
  explicit HotKeyDialog(const HotKeyChoices& choices) : choices_(choices) {}
  const HotKeyChoices& Choices() const { return choices_; }

 protected:
  void OnInit() override {
    for (const Row& row : kRows) {
      const HotKeyChoice& choice = choices_.*row.choice;
      SetChecked(row.check, choice.enabled);
      // A key without a modifier would be taken from every other program: the box
      // makes it Alt and the key.
      SendMessageA(Item(row.box), HKM_SETRULES, HKCOMB_NONE, MAKELPARAM(HOTKEYF_ALT, 0));
      SendMessageA(Item(row.box), HKM_SETHOTKEY, HotKeyBoxValue(choice.code), 0);
    }
    SetChecked(IDC_CKBSHOWMAINWHENHOTKEY, choices_.show_main);
    EnableBoxes();
  }

  void OnCommand(int, int code) override {
    if (code == BN_CLICKED)
      EnableBoxes();
  }

  bool OnOK() override {
    for (const Row& row : kRows) {
      const auto value = static_cast<uint16_t>(SendMessageA(Item(row.box), HKM_GETHOTKEY, 0, 0));
      choices_.*row.choice = {Checked(row.check), ShortCutOfHotKeyBox(value)};
    }
    choices_.show_main = Checked(IDC_CKBSHOWMAINWHENHOTKEY);
    return true;
  }

 private:
  void EnableBoxes() {
    for (const Row& row : kRows)
      Enable(row.box, Checked(row.check));
  }

  HotKeyChoices choices_;
};

}  // namespace

std::optional<HotKeyChoices> ShowHotKeyDialog(HWND owner, const HotKeyChoices& choices) {
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_HOTKEY_CLASS};
  InitCommonControlsEx(&classes);
  HotKeyDialog dialog(choices);
  if (!dialog.RunModal(owner, IDD_HOTKEYS))
    return std::nullopt;
  return dialog.Choices();
}
