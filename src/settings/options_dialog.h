// The Options dialog's window, entered through one function.
#pragma once

#include "settings/options_model.h"
#include "platform/dialog_win.h"

// Shows the Options dialog modal over `owner` on `form`'s controls and keeps them up to
// date as the user works; true when the user chose OK. A password confirmed in the password
// dialog (the Setting button) becomes the form's pending password, whether or not OK follows.
bool ShowOptionsDialog(HWND owner, TOptionForm& form);
