// The rules of the password dialog TPwdForm.
#include "settings/password_model.h"

std::string PwdFormProblem(const std::string& entered, const std::string& reentered) {
  if (entered.empty())
    return "Please enter password";
  if (reentered.empty())
    return "Please enter password again";
  if (entered != reentered)
    return "The password you entered twice should be the same";
  return "";
}
