// The connection property dialog TCnPtyForm, for the window that opens it.
#pragma once

#include <optional>

#include "profiles/property_model.h"

// The handle type as <windows.h> declares it, so this header needs none of it.
struct HWND__;
using HWND = HWND__*;

// Shows the profile of input.Profile.EntryName modal over `owner`, on its "&Property"
// page. OK accepts only what StoreProfile and input.Save accept, and gives the edited
// profile; Cancel gives nothing and changes nothing.
std::optional<EntryInfo> ShowPropertyDialog(HWND owner, const PropertyDialogInput& input);
