// Loading of the system's own libraries, for the adapters that bind one by name.
#pragma once

#include <windows.h>

// Loads `name` from the system folder only, never from the program's folder, the working
// folder or the path, where any user might have put a file of that name. The process-wide
// search order stays as it is. Returns nullptr when the system has no such library.
HMODULE LoadSystemLibrary(const char* name);
