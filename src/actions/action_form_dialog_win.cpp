// The form of one action: the model's fields in the controls and back, the group of the
// chosen type shown, and the file picked with the open-file dialog.
#include <windows.h>
#include <commdlg.h>

#include "actions/action_dialogs.h"
#include "actions/action_ids.h"

namespace {

constexpr int kRunStartControls[] = {
    IDC_GBRUNSTART,  IDC_LBLFILENAME,    IDC_EDFILENAME,    IDC_BTNBROWSE,      IDC_LBLDIRECTORY,
    IDC_EDDIRECTORY, IDC_LBLCOMMANDLINE, IDC_EDCOMMANDLINE, IDC_RGWINDOWSTATUS, IDC_RBNORMAL,
    IDC_RBMAXIMIZE,  IDC_RBMINIMIZE,     IDC_RBHIDE};
constexpr int kCloseWindowControls[] = {IDC_GBCLOSEWINDOW,    IDC_LBLIST,
                                        IDC_LBLWINDOW,        IDC_EDWINDOWTEXT,
                                        IDC_BTNREFRESHWINDOW, IDC_CKBCLOSECONTAINTEXT};
constexpr int kTypeCount = 2;
constexpr int kStatusCount = 4;

class ActionFormDialog : public DialogWin {
 public:
  explicit ActionFormDialog(ActionFormModel& model) : model_(model) {}

 private:
  void OnInit() override {
    SetWindowTextA(Window(), model_.Caption().c_str());
    Load();
    LoadWindowList();
  }

  void OnCommand(int id, int code) override {
    if (id == IDC_LBLIST && code == LBN_SELCHANGE) {
      Read();
      model_.PickWindow(Choice(IDC_LBLIST));
      Load();
    } else if (code != BN_CLICKED) {
      return;
    } else if (id == IDC_RBRUNSTART || id == IDC_RBCLOSEWINDOW) {
      Read();
      model_.ShowActionType(id - IDC_RBRUNSTART);
      Load();
      LoadWindowList();
    } else if (id == IDC_BTNREFRESHWINDOW) {
      model_.RefreshWindowList();
      LoadWindowList();
    } else if (id == IDC_BTNBROWSE) {
      Browse();
    } else if (id == IDC_BTNTEST) {
      Read();
      Say(model_.Test(Window()));
    }
  }

  bool OnOK() override {
    Read();
    return Say(model_.OK());
  }

  // True when there was nothing to say.
  bool Say(const std::string& problem) {
    if (!problem.empty())
      ShowInformation(problem);
    return problem.empty();
  }

  void Browse() {
    char path[MAX_PATH] = {};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = Window();
    dialog.lpstrFilter = "All Files(*.*)\0*.*\0";
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof(path);
    dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY;
    if (GetOpenFileNameA(&dialog))
      SetText(IDC_EDFILENAME, path);
  }

  // The index of the checked one of `count` radio buttons from `first`, -1 when none.
  int CheckedOf(int first, int count) const {
    for (int i = 0; i < count; ++i) {
      if (Checked(first + i))
        return i;
    }
    return -1;
  }

  void CheckOnly(int first, int count, int index) {
    for (int i = 0; i < count; ++i)
      SetChecked(first + i, i == index);
  }

  void Load() {
    const ActionFormFields& f = model_.Fields();
    CheckOnly(IDC_RBRUNSTART, kTypeCount, f.ActionType);
    for (int id : kRunStartControls)
      Show(id, f.ActionType == kRunStart);
    for (int id : kCloseWindowControls)
      Show(id, f.ActionType == kCloseWindow);
    SetText(IDC_EDFILENAME, f.FileName);
    SetText(IDC_EDDIRECTORY, f.Directory);
    SetText(IDC_EDCOMMANDLINE, f.CommandLine);
    CheckOnly(IDC_RBNORMAL, kStatusCount, f.WindowStatus);
    SetText(IDC_EDWINDOWTEXT, f.WindowText);
    SetChecked(IDC_CKBCLOSECONTAINTEXT, f.CloseContainText);
    SetChecked(IDC_CKBBEFOREDIALING, f.BeforeDialing);
    SetChecked(IDC_CKBAFTERCONNECTED, f.AfterConnected);
    SetChecked(IDC_CKBWHENDISCONNECTED, f.WhenDisconnected);
    SetChecked(IDC_CKBWHENERROROCCURS, f.WhenErrorOccurs);
  }

  void LoadWindowList() { FillChoices(IDC_LBLIST, model_.Fields().WindowList, -1); }

  void Read() {
    ActionFormFields& f = model_.Fields();
    f.ActionType = CheckedOf(IDC_RBRUNSTART, kTypeCount);
    f.FileName = Text(IDC_EDFILENAME);
    f.Directory = Text(IDC_EDDIRECTORY);
    f.CommandLine = Text(IDC_EDCOMMANDLINE);
    f.WindowStatus = CheckedOf(IDC_RBNORMAL, kStatusCount);
    f.WindowText = Text(IDC_EDWINDOWTEXT);
    f.CloseContainText = Checked(IDC_CKBCLOSECONTAINTEXT);
    f.BeforeDialing = Checked(IDC_CKBBEFOREDIALING);
    f.AfterConnected = Checked(IDC_CKBAFTERCONNECTED);
    f.WhenDisconnected = Checked(IDC_CKBWHENDISCONNECTED);
    f.WhenErrorOccurs = Checked(IDC_CKBWHENERROROCCURS);
  }

  ActionFormModel& model_;
};

}  // namespace

bool ShowActionFormDialog(HWND owner, ActionFormModel& model) {
  ActionFormDialog dialog(model);
  return dialog.RunModal(owner, IDD_ACTIONFORM);
}
