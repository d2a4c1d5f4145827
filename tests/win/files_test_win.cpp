// Whole-file reads and replacements through the system's file functions, in a temporary
// folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/win_ports.h"

namespace {

class FilesWin : public testing::Test {
 protected:
  FilesWin() { CreateDirectoryA(dir_.c_str(), nullptr); }
  ~FilesWin() override {
    DeleteFileA(path_.c_str());
    RemoveDirectoryA(dir_.c_str());
  }

  static std::string TempFolder() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "tarvolin-files-" + std::to_string(GetCurrentProcessId()) + "\\";
  }

  // The names in the folder, to see that no temporary file was left behind.
  std::string FolderNames() {
    std::string names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir_ + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
      return names;
    do {
      if (found.cFileName[0] != '.')
        names += std::string(found.cFileName) + ";";
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
  }

  std::string Read() {
    std::string text, error;
    EXPECT_TRUE(files_->ReadAll(path_, text, error)) << error;
    return text;
  }

  const std::string dir_ = TempFolder();
  const std::string path_ = dir_ + "Entries.ini";
  std::unique_ptr<Files> files_ = MakeWinFiles();
  std::string error_;
};

TEST_F(FilesWin, ReplaceWholeCreatesAndReplacesAndReadAllReadsBackEveryByte) {
  const std::string first("[A]\r\nx=1\r\n\0tail", 15);
  ASSERT_TRUE(files_->ReplaceWhole(path_, first, error_)) << error_;
  EXPECT_EQ(first, Read());
  const std::string bigger(100000, 'b');
  ASSERT_TRUE(files_->ReplaceWhole(path_, bigger, error_)) << error_;
  EXPECT_EQ(bigger, Read());
  ASSERT_TRUE(files_->ReplaceWhole(path_, "short", error_)) << error_;
  EXPECT_EQ("short", Read());
  EXPECT_EQ("Entries.ini;", FolderNames());
}

TEST_F(FilesWin, AMissingFileIsToldApartFromAnUnreadableOne) {
  std::string text, error = "stale";
  EXPECT_FALSE(files_->ReadAll(path_, text, error));
  EXPECT_EQ("", error);
  EXPECT_FALSE(files_->ReadAll(dir_ + "no-such-folder\\Entries.ini", text, error));
  EXPECT_EQ("", error);
  EXPECT_FALSE(files_->ReadAll(dir_, text, error));  // a folder cannot be read as a file
  EXPECT_NE("", error);
}

TEST_F(FilesWin, AFailedReplaceKeepsTheOldContentAndLeavesNothingBehind) {
  ASSERT_TRUE(files_->ReplaceWhole(path_, "old", error_)) << error_;

  EXPECT_FALSE(files_->ReplaceWhole(dir_ + "missing\\Entries.ini", "new", error_));
  EXPECT_NE("", error_);

  // Wine lets a read-only file be replaced, but not one that another holds open without
  // sharing its deletion.
  error_.clear();
  HANDLE reader = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_FALSE(files_->ReplaceWhole(path_, "new", error_));
  EXPECT_NE("", error_);
  CloseHandle(reader);

  EXPECT_EQ("old", Read());
  EXPECT_EQ("Entries.ini;", FolderNames());
}

TEST_F(FilesWin, AnAppendStartsOnALineOfItsOwnAndAFileHeldByAnotherIsUnreadable) {
  ASSERT_TRUE(files_->Append(path_, "", error_)) << error_;  // created empty, nothing added
  EXPECT_EQ("", Read());
  ASSERT_TRUE(files_->Append(path_, "a\r\n", error_)) << error_;
  ASSERT_TRUE(files_->ReplaceWhole(path_, "a\r\ntorn", error_)) << error_;
  ASSERT_TRUE(files_->Append(path_, "b\r\n", error_)) << error_;
  EXPECT_EQ("a\r\ntorn\r\nb\r\n", Read());

  std::string error;
  EXPECT_FALSE(files_->Unreadable(path_, error));
  EXPECT_FALSE(files_->Unreadable(dir_ + "missing.ini", error));
  HANDLE held = CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(files_->Unreadable(path_, error));
  EXPECT_NE("", error);
  CloseHandle(held);
}

}  // namespace
