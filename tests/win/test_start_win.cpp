// Before any test: the output goes out unbuffered, so that a test that hangs or crashes
// still shows how far it got; and the file that TARVOLIN_TEST_STARTED names is made, which
// tells tools/wine-test that Wine did start this program. A run without it never got here
// and may be started again; a run with it keeps its result, passed or failed.
#include <windows.h>

#include <cstdio>

namespace {

[[maybe_unused]] const bool kStartMarked = [] {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  char path[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableA("TARVOLIN_TEST_STARTED", path, MAX_PATH);
  if (length > 0 && length < MAX_PATH) {
    HANDLE mark =
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (mark != INVALID_HANDLE_VALUE)
      CloseHandle(mark);
  }
  return true;
}();

}  // namespace
