// Actions against the real system: a Run / Start action starts a program with its
// parameters and folder, a Close window action closes windows by part of their caption,
// and Actions.ini stays whole when its replacement fails.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "actions/action_runner.h"
#include "driver.h"
#include "folder_files.h"
#include "platform/text.h"

namespace {

class NoStatus : public StatusLine {
 public:
  void SetStatus(const std::string&, uint32_t) override {}
};

std::string TempFolder() {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string dir =
      std::string(temp) + "tarvolin-actions-" + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(dir.c_str(), nullptr);
  return dir;
}

// A hidden top-level window of this thread.
HWND MakeWindow(const char* caption) {
  return CreateWindowExA(0, "STATIC", caption, WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                         nullptr, nullptr);
}

TEST(ActionsWin, RunStartsAProgramCloseClosesWindowsAndAFailedSaveKeepsTheFile) {
  const std::string dir = TempFolder();
  FolderFiles files(dir);
  std::unique_ptr<Shell> shell = MakeWinShell();
  std::unique_ptr<Desktop> desktop = MakeWinDesktop();
  std::unique_ptr<Clock> clock = MakeWinClock();
  std::unique_ptr<Locale> locale = MakeWinLocale();
  std::unique_ptr<Prompts> prompts = MakeWinPrompts();
  NoStatus status;
  AppSettings settings;
  settings.CkbEnableAllActions = true;
  ConnectionLog log(files, *clock, *locale, *prompts, *shell, status, settings);
  ActionRunner runner(*shell, *desktop, log, settings);

  ActionTable table;
  table[0].InUse = table[1].InUse = table[0].AfterConnected = table[1].AfterConnected = true;
  table[0].FileName = TestBinDir() + "record_start.exe";
  table[0].CommandLine = "one \"two words\"";
  table[0].Directory = dir;
  table[1].ActionType = kCloseWindow;
  table[1].WindowText = "probe window";
  HWND probe = MakeWindow("Tarvolin PROBE Window 1");
  HWND other = MakeWindow("Probe");
  runner.PerformActions(table, PerformAt::AfterConnected, nullptr);
  EXPECT_TRUE(WaitUntil([&] {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
      DispatchMessageA(&msg);
    return !IsWindow(probe);
  }));
  EXPECT_TRUE(IsWindow(other));
  DestroyWindow(other);
  const std::string expected = "one\ntwo words\n" + dir.substr(0, dir.size() - 1) + "\n";
  std::string started, error;
  EXPECT_TRUE(WaitUntil([&] {
    return files.ReadAll(dir + "started.txt", started, error) && SameText(started, expected);
  })) << started;

  // Another program holds the file open, letting others write it but not replace it: a
  // save that wrote into the file itself would get through, the one that writes the new
  // text beside it and then replaces the file stops before the old file is touched.
  std::unique_ptr<ProfileFile> ini = MakeWinProfileFile();
  ActionStore store(*ini, files);
  ASSERT_TRUE(store.SaveActions(table, error)) << error;
  HANDLE held = CreateFileA(store.Path().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  table[1] = ActionInfo();
  EXPECT_FALSE(store.SaveActions(table, error));
  CloseHandle(held);
  EXPECT_FALSE(files.Exists(store.Path() + ".new"));
  ActionTable loaded;
  EXPECT_TRUE(store.LoadActions(loaded).empty());
  EXPECT_EQ(loaded[0], table[0]);
  EXPECT_EQ(loaded[1].WindowText, "probe window");  // the old file, whole

  for (const char* name : {"started.txt", "Actions.ini", "Actions.bak"})
    DeleteFileA((dir + name).c_str());
  RemoveDirectoryA(dir.c_str());
}

}  // namespace
