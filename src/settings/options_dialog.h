// The Options dialog's window, entered through one function.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "settings/options_model.h"
#include "ui/dialog_win.h"

// The password dialog that the Setting button opens over `owner`: the password the user
// confirmed, nullopt when cancelled.
using PasswordDialog = std::function<std::optional<std::string>(HWND owner)>;

// Shows the Options dialog modal over `owner` on `form`'s controls and keeps them up to
// date as the user works; true when the user chose OK. A password confirmed through
// `password_dialog` becomes the form's pending password, whether or not OK follows.
// Without a password dialog the Setting button stays greyed.
bool ShowOptionsDialog(HWND owner, TOptionForm& form, const PasswordDialog& password_dialog);
