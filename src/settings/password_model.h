// The rules of the password dialog TPwdForm, where the user chooses the start-up password.
#pragma once

#include <string>

// Neither edit takes more characters.
inline constexpr int kPasswordMaxLength = 16;

// OK: "" when both entries are the same (exactly) and not empty, else the message to show
// with the dialog left open.
std::string PwdFormProblem(const std::string& entered, const std::string& reentered);
