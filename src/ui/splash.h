// The welcome window TFlashFrm shown while the program starts.
#pragma once

#include <functional>

// Creates the welcome window, whose creation runs `check_password`: when that refuses,
// the window goes again unseen and the result is null. Otherwise shows the window and
// keeps processing messages until its FlashTimer has fired once (at least 3000 ms), and
// returns an opaque handle for HideSplash.
void* ShowSplash(const std::function<bool()>& check_password);
void HideSplash(void* splash);
