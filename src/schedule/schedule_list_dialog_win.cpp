// The list dialog "Schedules": loads its model into the controls and reads them back.
#include <windows.h>
#include <commctrl.h>

#include "schedule/schedule_dialogs.h"
#include "schedule/schedule_ids.h"

namespace {

struct Column {
  const char* Caption;
  int Width;  // pixels
};
constexpr Column kColumns[] = {
    {"Task", 66}, {"Period", 50}, {"Time", 80}, {"Confirm", 48}, {"Period of validity", 90}};

class ScheduleListDialog : public DialogWin {
 public:
  explicit ScheduleListDialog(const ScheduleListModel& model) : model_(model) {}
  const ScheduleListModel& Model() const { return model_; }

 protected:
  void OnInit() override {
    SetChecked(IDC_CKBENABLEALLSCHEDULES, model_.EnableAllSchedules());
    ListView_SetExtendedListViewStyle(List(), LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT |
                                                  LVS_EX_ONECLICKACTIVATE | LVS_EX_UNDERLINEHOT);
    for (const Column& column : kColumns) {
      LVCOLUMNA lvc{};
      lvc.mask = LVCF_TEXT | LVCF_WIDTH;
      lvc.pszText = const_cast<char*>(column.Caption);
      lvc.cx = column.Width;
      ListView_InsertColumn(List(), &column - kColumns, &lvc);
    }
    FillScheduleList();
    UpdateButtons();
  }

  void OnCommand(int id, int code) override {
    if (code != BN_CLICKED)
      return;
    switch (id) {
      case IDC_CKBENABLEALLSCHEDULES:
        model_.SetEnableAllSchedules(Checked(id));
        UpdateButtons();
        break;
      case IDC_BTNADDSCHEDULE:
        BtnAddScheduleClick();
        break;
      case IDC_BTNEDITSCHEDULE:
        BtnEditScheduleClick();
        break;
      case IDC_BTNDELETESCHEDULE:
        BtnDeleteScheduleClick();
        break;
    }
  }

  void OnNotify(const NMHDR& header) override {
    if (header.idFrom != IDC_SCHEDULELIST)
      return;
    if (header.code == LVN_ITEMCHANGED)
      UpdateButtons();
    else if (header.code == NM_DBLCLK)
      BtnEditScheduleClick();
  }

 private:
  HWND List() const { return Item(IDC_SCHEDULELIST); }
  int SelectedRow() const { return ListView_GetNextItem(List(), -1, LVNI_SELECTED); }

  void FillScheduleList() {
    ListView_DeleteAllItems(List());
    int row = 0;
    for (ScheduleRow& cells : model_.Rows()) {
      LVITEMA item{};
      item.mask = LVIF_TEXT;
      item.iItem = row;
      item.pszText = cells[0].data();
      ListView_InsertItem(List(), &item);
      for (int cell = 1; cell < static_cast<int>(cells.size()); ++cell)
        ListView_SetItemText(List(), row, cell, cells[cell].data());
      ++row;
    }
  }

  void UpdateButtons() {
    const ScheduleListControls on = model_.Controls(SelectedRow() >= 0);
    Enable(IDC_GBSCHEDULE, on.List);
    Enable(IDC_SCHEDULELIST, on.List);
    Enable(IDC_BTNADDSCHEDULE, on.Add);
    Enable(IDC_BTNEDITSCHEDULE, on.Edit);
    Enable(IDC_BTNDELETESCHEDULE, on.Remove);
  }

  void BtnAddScheduleClick() {
    if (const auto values = model_.NewSchedule()) {
      if (const auto stored = ShowScheduleFormDialog(Window(), *values))
        model_.Store(-1, *stored);
    } else {
      ShowInformation(kScheduleListFull);
    }
    Refill();
  }

  void BtnEditScheduleClick() {
    const int row = SelectedRow();
    if (row >= 0) {
      if (const auto stored = ShowScheduleFormDialog(Window(), model_.EditSchedule(row)))
        model_.Store(row, *stored);
    }
    Refill();
  }

  void BtnDeleteScheduleClick() {
    model_.Remove(SelectedRow());
    Refill();
  }

  void Refill() {
    FillScheduleList();
    UpdateButtons();
  }

  ScheduleListModel model_;
};

}  // namespace

std::optional<ScheduleListResult> ShowScheduleListDialog(HWND owner,
                                                         const ScheduleListModel& model) {
  ScheduleListDialog dialog(model);
  if (!dialog.RunModal(owner, IDD_SCHEDULELIST))
    return std::nullopt;
  return dialog.Model().Result();
}
