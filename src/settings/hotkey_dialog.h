// The hotkey dialog, modal over the main window.
#pragma once

#include <optional>

#include "settings/hotkey_dialog_model.h"
#include "platform/dialog_win.h"

// Shows `choices`; the choices as the user left them on OK, nullopt on Cancel.
std::optional<HotKeyChoices> ShowHotKeyDialog(HWND owner, const HotKeyChoices& choices);
