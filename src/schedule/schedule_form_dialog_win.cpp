// The edit dialog of one schedule: shows its values in the controls and reads them back.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "schedule/schedule_dialogs.h"
#include "schedule/schedule_ids.h"
#include "schedule/schedule_list_model.h"

namespace {

std::vector<std::string> DayNames() {
  std::vector<std::string> days;
  for (int day = 0; day < 7; ++day)
    days.push_back(DayName(day));
  return days;
}

std::vector<std::string> DaysOfMonth() {
  std::vector<std::string> days;
  for (int day = 1; day <= 31; ++day)
    days.push_back(std::to_string(day));
  return days;
}

class ScheduleFormDialog : public DialogWin {
 public:
  explicit ScheduleFormDialog(const ScheduleFormValues& values) : values_(values) {}
  const ScheduleFormValues& Values() const { return values_; }

 protected:
  void OnInit() override {
    const ScheduleFormValues& v = values_;
    SetWindowTextA(Window(), v.Editing ? kEditScheduleCaption : kNewScheduleCaption);
    CheckRadioButton(Window(), IDC_RBEVENT0, IDC_RBEVENT3, IDC_RBEVENT0 + v.Event);
    CheckRadioButton(Window(), IDC_RBPERIOD0, IDC_RBPERIOD5, IDC_RBPERIOD0 + v.Period);
    SetDateTimeValue(IDC_DTPTIME01, v.Date01);
    SetDateTimeValue(IDC_DTPTIME02, v.Time02);
    SetUpDown(IDC_UDTIME11, 0, 59, v.Minute11);
    SetDateTimeValue(IDC_DTPTIME21, v.Time21);
    FillChoices(IDC_CBTIME31, DayNames(), v.Week31);
    SetDateTimeValue(IDC_DTPTIME32, v.Time32);
    FillChoices(IDC_CBTIME41, DaysOfMonth(), v.Month41);
    SetDateTimeValue(IDC_DTPTIME42, v.Time42);
    SetUpDown(IDC_UDTIME51, 0, 100, v.Hour51);
    SetUpDown(IDC_UDTIME52, 0, 59, v.Minute52);
    SetUpDown(IDC_UDPERIODOFVALIDITY, 1, 999, v.PeriodOfValidity);
    SetChecked(IDC_CKBCONFIRMSCHEDULE, v.Confirm);
    SetUpDown(IDC_UDRECONNECTAFTER, 0, kMaxReconnectAfterHours, v.ReconnectAfterHours);
    EnableReconnectHours(v.Event);
  }

  // The period buttons lie among their inputs, so they are kept exclusive here; the event
  // buttons turn the reconnect's hours on and off.
  void OnCommand(int id, int code) override {
    if (code != BN_CLICKED)
      return;
    if (id >= IDC_RBPERIOD0 && id <= IDC_RBPERIOD5)
      CheckRadioButton(Window(), IDC_RBPERIOD0, IDC_RBPERIOD5, id);
    if (id >= IDC_RBEVENT0 && id <= IDC_RBEVENT3)
      EnableReconnectHours(id - IDC_RBEVENT0);
  }

  bool OnOK() override {
    ScheduleFormValues& v = values_;
    v.Event = CheckedOf(IDC_RBEVENT0, IDC_RBEVENT3, v.Event);
    v.Period = CheckedOf(IDC_RBPERIOD0, IDC_RBPERIOD5, v.Period);
    v.Date01 = DateTimeValue(IDC_DTPTIME01);
    v.Time02 = DateTimeValue(IDC_DTPTIME02);
    v.Minute11 = UpDownPosition(IDC_UDTIME11);
    v.Time21 = DateTimeValue(IDC_DTPTIME21);
    v.Week31 = Choice(IDC_CBTIME31);
    v.Time32 = DateTimeValue(IDC_DTPTIME32);
    v.Month41 = Choice(IDC_CBTIME41);
    v.Time42 = DateTimeValue(IDC_DTPTIME42);
    v.Hour51 = UpDownPosition(IDC_UDTIME51);
    v.Minute52 = UpDownPosition(IDC_UDTIME52);
    v.PeriodOfValidity = UpDownPosition(IDC_UDPERIODOFVALIDITY);
    v.Confirm = Checked(IDC_CKBCONFIRMSCHEDULE);
    v.ReconnectAfterHours = UpDownPosition(IDC_UDRECONNECTAFTER);
    return true;
  }

 private:
  void EnableReconnectHours(int event) {
    for (int id :
         {IDC_LBRECONNECTAFTER, IDC_EDRECONNECTAFTER, IDC_UDRECONNECTAFTER, IDC_LBRECONNECTHOURS})
      Enable(id, ReconnectHoursEnabled(event));
  }

  // The offset of the checked button among `first` to `last`; `none` when none is.
  int CheckedOf(int first, int last, int none) const {
    for (int id = first; id <= last; ++id) {
      if (Checked(id))
        return id - first;
    }
    return none;
  }

  ScheduleFormValues values_;
};

}  // namespace

std::optional<ScheduleFormValues> ShowScheduleFormDialog(HWND owner,
                                                         const ScheduleFormValues& values) {
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_DATE_CLASSES | ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&classes);
  ScheduleFormDialog dialog(values);
  if (!dialog.RunModal(owner, IDD_SCHEDULEFORM))
    return std::nullopt;
  return dialog.Values();
}
