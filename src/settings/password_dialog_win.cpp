// The password dialogs TPwdForm and TInputPwd.
#include <windows.h>

#include "settings/password_dialog.h"
#include "settings/password_ids.h"
#include "settings/password_model.h"
#include "platform/dialog_win.h"

namespace {

class TPwdForm : public DialogWin {
 public:
  explicit TPwdForm(const std::string& pending) : password_(pending) {}

  const std::string& Password() const { return password_; }

 protected:
  void OnInit() override {
    for (int id : {IDC_EDENTERPWD, IDC_EDREENTERPWD}) {
      MaskWithStars(id);
      SendMessageA(Item(id), EM_LIMITTEXT, kPasswordMaxLength, 0);
      SetText(id, password_);
    }
    CenterOnOwner();
  }

  bool OnOK() override {
    const std::string entered = Text(IDC_EDENTERPWD);
    const std::string problem = PwdFormProblem(entered, Text(IDC_EDREENTERPWD));
    if (!problem.empty()) {
      ShowError(problem);
      return false;
    }
    password_ = entered;
    return true;
  }

 private:
  std::string password_;
};

class TInputPwd : public DialogWin {
 public:
  const std::string& Entered() const { return entered_; }

 protected:
  void OnInit() override {
    MaskWithStars(IDC_EDINPUTPWD);
    // Nothing of the program shows yet: the prompt must come to the front by itself.
    SetForegroundWindow(Window());
  }

  bool OnOK() override {
    entered_ = Text(IDC_EDINPUTPWD);
    return !entered_.empty();
  }

 private:
  std::string entered_;
};

}  // namespace

std::optional<std::string> ShowPasswordDialog(HWND owner, const std::string& pending) {
  TPwdForm form(pending);
  if (!form.RunModal(owner, IDD_PWDFORM))
    return std::nullopt;
  return form.Password();
}

std::optional<std::string> ShowInputPasswordDialog() {
  TInputPwd prompt;
  if (!prompt.RunModal(nullptr, IDD_INPUTPWD))
    return std::nullopt;
  return prompt.Entered();
}
