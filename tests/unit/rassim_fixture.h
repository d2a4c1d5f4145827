// Shared ground of the RAS substitute's tests: a phonebook of its own per test, and a
// recorder of dial notifications that can hold the dial inside one of them.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "rassim/rassim.h"

namespace rassim_test {

namespace fs = std::filesystem;

// The upper bound for anything asynchronous; results normally arrive at once.
constexpr auto kPatience = std::chrono::seconds(5);

struct Notification {
  unsigned msg;
  uint32_t state;
  uint32_t error;
  std::thread::id thread;
};

using Steps = std::vector<std::pair<uint32_t, uint32_t>>;  // (state, error)

// The notifier is a plain function, so its record is global.
class Recorder {
 public:
  // Blocks in the notification of `hold_at_` (without error) until Release, as the
  // program's hand-over may.
  static void RASSIM_CALL Notify(unsigned msg, uint32_t state, uint32_t error) {
    std::unique_lock lock(mutex_);
    all_.push_back({msg, state, error, std::this_thread::get_id()});
    held_ = state == hold_at_ && error == 0;
    changed_.notify_all();
    changed_.wait_for(lock, kPatience, [] { return !held_; });
    held_ = false;
  }

  static void Reset(uint32_t hold_at = ~0u) {
    std::lock_guard lock(mutex_);
    all_.clear();
    hold_at_ = hold_at;
  }

  static void Release() {
    std::lock_guard lock(mutex_);
    held_ = false;
    changed_.notify_all();
  }

  static std::vector<Notification> All() {
    std::lock_guard lock(mutex_);
    return all_;
  }

  static Steps StepsSoFar() {
    Steps steps;
    for (const Notification& n : All()) {
      steps.emplace_back(n.state, n.error);
    }
    return steps;
  }

  // True once a notification with that state and error has arrived.
  static bool WaitFor(uint32_t state, uint32_t error) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, kPatience, [&] {
      return std::ranges::find(all_, std::pair{state, error}, [](const Notification& n) {
               return std::pair{n.state, n.error};
             }) != all_.end();
    });
  }

  static bool WaitUntilHeld() {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, kPatience, [] { return held_; });
  }

  static bool Held() {
    std::lock_guard lock(mutex_);
    return held_;
  }

 private:
  static inline std::mutex mutex_;
  static inline std::condition_variable changed_;
  static inline std::vector<Notification> all_;
  static inline uint32_t hold_at_ = ~0u;
  static inline bool held_ = false;
};

template <typename Predicate>
bool Eventually(Predicate done) {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (!done() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return done();
}

class RassimTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("rassim-" + std::to_string(std::random_device()()));
    fs::create_directories(dir_);
    path_ = (dir_ / "rasphone.pbk").string();
    rassim::SetPhonebookPath(path_);
    Recorder::Reset();
  }

  void TearDown() override {
    Recorder::Release();
    rassim::Shutdown();
    rassim::SetEntryDialog(nullptr);
    rassim::SetPhonebookPath("");
    rassim::SetAllUsersPhonebookPath("");
    fs::remove_all(dir_);
  }

  // Whole or not at all: the engine may read the file at any moment.
  void WriteFile(const fs::path& path, const std::string& text) {
    const fs::path temp = path.string() + ".new";
    std::ofstream(temp, std::ios::binary) << text;
    fs::rename(temp, path);
  }
  void WritePhonebook(const std::string& text) { WriteFile(path_, text); }
  std::string ReadPhonebook() {
    std::ifstream in(path_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  fs::path dir_;
  std::string path_;
};

}  // namespace rassim_test
