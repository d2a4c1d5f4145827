// The about box, for the window that opens it.
#pragma once

// The handle type as <windows.h> declares it, so this header needs none of it.
struct HWND__;
using HWND = HWND__*;

// TAboutForm modal over `owner`, centred on it, until a click on it, Enter or Esc.
void ShowAboutBox(HWND owner);
