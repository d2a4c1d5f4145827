// System libraries come from the system folder only, whatever lies beside the program.
#include "platform/library_loader_win.h"

#include <gtest/gtest.h>

#include <string>

#include "driver.h"
#include "platform/win_ports.h"

TEST(SystemLibraries, ComeFromTheSystemFolderNeverFromBesideTheProgram) {
  // tvndl.dll lies beside this test, where the normal search finds it first. Asked for
  // first, so that no loaded module of that name can answer for the system folder.
  EXPECT_EQ(LoadSystemLibrary("tvndl.dll"), nullptr);
  EXPECT_EQ(MakeWinLibraryLoader()->Load("tvndl.dll"), nullptr) << "the RAS library's loader";
  HMODULE beside = LoadLibraryA("tvndl.dll");
  ASSERT_NE(beside, nullptr) << "the planted library is missing from " << TestBinDir();
  FreeLibrary(beside);

  char system[MAX_PATH] = {};
  GetSystemDirectoryA(system, MAX_PATH);
  for (const char* name : {"xmllite.dll", "ICMP.DLL"}) {
    HMODULE library = LoadSystemLibrary(name);
    ASSERT_NE(library, nullptr) << name;
    char path[MAX_PATH] = {};
    GetModuleFileNameA(library, path, MAX_PATH);
    EXPECT_EQ(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, path,
                             static_cast<int>(strlen(system)), system, -1),
              CSTR_EQUAL)
        << name << " from " << path;
  }
}
