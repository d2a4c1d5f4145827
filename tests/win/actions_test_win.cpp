// Actions against the real system: a Run / Start action starts a program with its
// parameters and folder, a Close window action closes windows by part of their caption,
// and Actions.ini is kept whole when its replacement fails.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "actions/action_runner.h"
#include "driver.h"
#include "folder_files.h"
#include "platform/text.h"
#include "platform/win_ports.h"

namespace {

class NoStatus : public StatusLine {
 public:
  void SetStatus(const std::string&, uint32_t) override {}
};

class ActionsWin : public testing::Test {
 protected:
  ActionsWin() { CreateDirectoryA(dir_.c_str(), nullptr); }
  ~ActionsWin() override {
    for (const char* name : {"started.txt", "Actions.ini", "Actions.bak"})
      DeleteFileA((dir_ + name).c_str());
    RemoveDirectoryA(dir_.c_str());
  }

  static std::string TempFolder() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "tarvolin-actions-" + std::to_string(GetCurrentProcessId()) + "\\";
  }

  std::string Read(const std::string& name) {
    std::string text, error;
    files_.ReadAll(dir_ + name, text, error);
    return text;
  }

  const std::string dir_ = TempFolder();
  FolderFiles files_{dir_};
};

// A hidden top-level window of this thread.
HWND MakeWindow(const char* caption) {
  return CreateWindowExA(0, "STATIC", caption, WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

bool PumpUntil(const std::function<bool()>& done) {
  return WaitUntil([&] {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
      DispatchMessageA(&msg);
    return done();
  });
}

TEST_F(ActionsWin, RunStartsTheProgramAndCloseClosesWindowsContainingTheText) {
  std::unique_ptr<Shell> shell = MakeWinShell();
  std::unique_ptr<Desktop> desktop = MakeWinDesktop();
  std::unique_ptr<Clock> clock = MakeWinClock();
  std::unique_ptr<Locale> locale = MakeWinLocale();
  std::unique_ptr<Prompts> prompts = MakeWinPrompts();
  NoStatus status;
  AppSettings settings;
  settings.CkbEnableAllActions = true;
  settings.CkbWriteLogs = false;
  ConnectionLog log(files_, *clock, *locale, *prompts, *shell, status, settings);
  ActionRunner runner(*shell, *desktop, log, settings);

  ActionTable table;
  table[0].InUse = table[1].InUse = true;
  table[0].FileName = TestBinDir() + "record_start.exe";
  table[0].CommandLine = "one \"two words\"";
  table[0].Directory = dir_;
  table[0].WindowStatus = 2;
  table[1].ActionType = kCloseWindow;
  table[1].WindowText = "probe window";
  table[0].AfterConnected = table[1].AfterConnected = true;
  HWND probe = MakeWindow("Tarvolin PROBE Window 1");
  HWND other = MakeWindow("Probe");
  ASSERT_TRUE(probe && other);

  runner.PerformActions(table, PerformAt::AfterConnected, nullptr);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(probe); }));
  EXPECT_TRUE(IsWindow(other));
  DestroyWindow(other);
  std::string folder = dir_;
  folder.pop_back();  // without the trailing separator
  const std::string expected = "one\ntwo words\n" + folder + "\n";
  EXPECT_TRUE(WaitUntil([&] { return Read("started.txt").size() >= expected.size(); }));
  EXPECT_TRUE(SameText(Read("started.txt"), expected)) << Read("started.txt");
}

TEST_F(ActionsWin, ASaveWhoseReplaceFailsLeavesTheOldFileAndNoPartOfTheNew) {
  std::unique_ptr<ProfileFile> ini = MakeWinProfileFile();
  ActionStore store(*ini, files_);
  ActionTable table;
  table[0].InUse = true;
  table[0].FileName = "first.exe";
  std::string error;
  ASSERT_TRUE(store.SaveActions(table, error)) << error;
  const std::string saved = Read("Actions.ini");

  // Another program holds the file open without letting it be replaced: the new text is
  // written beside it, and the replacement fails.
  HANDLE held = CreateFileA(store.Path().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  table[1] = table[0];
  table[1].FileName = "second.exe";
  EXPECT_FALSE(store.SaveActions(table, error));
  CloseHandle(held);
  EXPECT_NE(error.find("Actions.ini"), std::string::npos) << error;
  EXPECT_EQ(Read("Actions.ini"), saved);
  EXPECT_FALSE(files_.Exists(store.Path() + ".new"));

  ActionTable loaded;
  EXPECT_TRUE(store.LoadActions(loaded).empty());
  EXPECT_EQ(loaded[0].FileName, "first.exe");
  EXPECT_FALSE(loaded[1].InUse);
  ASSERT_TRUE(store.SaveActions(table, error)) << error;
  EXPECT_EQ(Read("Actions.bak"), saved);
  store.LoadActions(loaded);
  EXPECT_EQ(loaded[1].FileName, "second.exe");
}

}  // namespace
