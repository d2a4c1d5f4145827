// Loading of the system's own libraries, for the adapters that bind one by name.
#pragma once

#include <windows.h>

// Loads `name` from the system folder only, never from the program's folder, the working
// folder or the path, where any user might have put a file of that name. The process-wide
// search order stays as it is. Returns nullptr when the system has no such library.
HMODULE LoadSystemLibrary(const char* name);

// The export `name` of the system library `library`, loaded as LoadSystemLibrary does and
// kept for the life of the process; nullptr when the system lacks either. This is how the
// program reaches a library it needs only now and then, which stays out of its import
// table and unloaded until then: the caller keeps the result, as a function-local static,
// and does without the feature when it is null.
template <typename Function>
Function SystemFunction(const char* library, const char* name) {
  HMODULE module = LoadSystemLibrary(library);
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                : nullptr;
}
