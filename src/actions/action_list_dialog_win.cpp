// The list of actions: the model's rows and enable rules in the controls, and the form of
// one action for Add and Edit.
#include <windows.h>
#include <commctrl.h>

#include "actions/action_dialogs.h"
#include "actions/action_ids.h"

namespace {

class ActionListDialog : public DialogWin {
 public:
  explicit ActionListDialog(ActionListModel& model) : model_(model) {}

 private:
  void OnInit() override {
    SetListColumns(IDC_ACTIONLIST, {{"Action", 246}, {"Perform at", 86}});
    SendMessageA(
        Item(IDC_ACTIONLIST), LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
        LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_TWOCLICKACTIVATE | LVS_EX_UNDERLINEHOT);
    SetChecked(IDC_CKBENABLEALLACTIONS, model_.EnableAll());
    FillActionList();
  }

  void OnCommand(int id, int code) override {
    if (code != BN_CLICKED)
      return;
    switch (id) {
      case IDC_CKBENABLEALLACTIONS:
        model_.SetEnableAll(Checked(IDC_CKBENABLEALLACTIONS));
        UpdateButtons();
        break;
      case IDC_BTNADDACTION:
        Add();
        break;
      case IDC_BTNEDITACTION:
        EditSelected();
        break;
      case IDC_BTNDELETEACTION:
        if (const int row = SelectedListRow(IDC_ACTIONLIST); row >= 0)
          model_.Remove(row);
        FillActionList();
        break;
    }
  }

  void OnNotify(const NMHDR& header) override {
    if (header.idFrom != IDC_ACTIONLIST)
      return;
    if (header.code == LVN_ITEMCHANGED)
      UpdateButtons();
    else if (header.code == NM_DBLCLK)
      EditSelected();
  }

  void Add() {
    if (auto form = model_.Add())
      ShowActionFormDialog(Window(), *form);
    else
      ShowInformation(kActionTableFull);
    FillActionList();
  }

  void EditSelected() {
    if (const int row = SelectedListRow(IDC_ACTIONLIST); row >= 0) {
      ActionFormModel form = model_.Edit(row);
      ShowActionFormDialog(Window(), form);
    }
    FillActionList();
  }

  void FillActionList() {
    std::vector<std::vector<std::string>> cells;
    for (const ActionRow& row : model_.Rows())
      cells.push_back({row.Action, row.PerformAt});
    SetListRows(IDC_ACTIONLIST, cells);
    UpdateButtons();
  }

  void UpdateButtons() {
    const auto on = model_.UpdateButtons(SelectedListRow(IDC_ACTIONLIST));
    Enable(IDC_GBACTION, on.Group);
    Enable(IDC_ACTIONLIST, on.Group);
    Enable(IDC_BTNADDACTION, on.Add);
    Enable(IDC_BTNEDITACTION, on.Edit);
    Enable(IDC_BTNDELETEACTION, on.Remove);
  }

  ActionListModel& model_;
};

}  // namespace

bool ShowActionListDialog(HWND owner, ActionListModel& model) {
  ActionListDialog dialog(model);
  return dialog.RunModal(owner, IDD_ACTIONLIST);
}
