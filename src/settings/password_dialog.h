// The password dialogs, for the windows that open them.
#pragma once

#include <optional>
#include <string>

// The handle type as <windows.h> declares it, so this header needs none of it.
struct HWND__;
using HWND = HWND__*;

// TPwdForm modal over `owner` (the Options dialog), both edits holding `pending` (the
// pending password). OK gives the new password once both entries agree and are not empty;
// Cancel gives nothing.
std::optional<std::string> ShowPasswordDialog(HWND owner, const std::string& pending);

// The start-up prompt TInputPwd, above every window in the middle of the screen: the text
// typed at OK (never empty: OK does nothing then), nothing for Exit or closing it.
std::optional<std::string> ShowInputPasswordDialog();
