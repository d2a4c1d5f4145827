// The welcome window TFlashFrm shown while the program starts.
#pragma once

// Shows the welcome window and keeps processing messages until its FlashTimer has
// fired once (at least 3000 ms). Returns an opaque handle for HideSplash.
void* ShowSplash();
void HideSplash(void* splash);
