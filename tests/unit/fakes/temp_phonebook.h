// A phonebook file of the test's own for the in-process RAS substitute.
#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

#include "rassim/rassim.h"

// Writes the phonebook to a fresh temporary folder of its own and points the substitute
// at it; on destruction hangs up every connection, waits for the dial workers and removes
// the folder. The substitute reads its control file beside the phonebook: in a shared
// folder another test run would take the commands meant for this one.
class TempPhonebook {
 public:
  explicit TempPhonebook(const std::string& text) {
    static std::atomic<int> counter{0};
    dir_ = std::filesystem::temp_directory_path() /
           ("tarvolin-test-" + std::to_string(getpid()) + "-" + std::to_string(++counter));
    std::filesystem::create_directory(dir_);
    path_ = dir_ / "rasphone.pbk";
    Write(text);
    rassim::SetPhonebookPath(path_.string());
    rassim::SetAllUsersPhonebookPath(AllUsersPath());
  }
  ~TempPhonebook() {
    rassim::Shutdown();
    rassim::SetPhonebookPath("");
    rassim::SetAllUsersPhonebookPath("");
    std::filesystem::remove_all(dir_);
  }
  TempPhonebook(const TempPhonebook&) = delete;
  TempPhonebook& operator=(const TempPhonebook&) = delete;

  void Write(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }
  std::string Read() const {
    std::ifstream in(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string Path() const { return path_.string(); }
  // The all-users phonebook beside it, missing until written.
  std::string AllUsersPath() const { return (dir_ / "allusers.pbk").string(); }
  void WriteAllUsers(const std::string& text) {
    std::ofstream(AllUsersPath(), std::ios::binary) << text;
  }
  std::string ReadAllUsers() const {
    std::ifstream in(AllUsersPath(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  std::filesystem::path dir_;
  std::filesystem::path path_;
};
