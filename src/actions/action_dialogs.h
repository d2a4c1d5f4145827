// The action dialogs, shown modally over `owner`; each works on its model and returns
// true when the user confirmed with OK.
#pragma once

#include "actions/action_dialog_model.h"
#include "platform/dialog_win.h"

bool ShowActionListDialog(HWND owner, ActionListModel& model);
bool ShowActionFormDialog(HWND owner, ActionFormModel& model);
