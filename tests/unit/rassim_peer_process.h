// Another process on the same machine, running the RAS substitute's engine: the program
// tests/rassim_peer, asked one command at a time.
#pragma once

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <sstream>
#include <string>

#include "rassim/records.h"

extern char** environ;

namespace rassim_test {

class PeerProcess {
 public:
  explicit PeerProcess(const std::string& phonebook) {
    int to_peer[2], from_peer[2];
    if (pipe(to_peer) != 0 || pipe(from_peer) != 0) {
      return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, to_peer[0], 0);
    posix_spawn_file_actions_adddup2(&actions, from_peer[1], 1);
    posix_spawn_file_actions_addclose(&actions, to_peer[1]);
    posix_spawn_file_actions_addclose(&actions, from_peer[0]);
    const char* program = RASSIM_PEER;
    char* const argv[] = {const_cast<char*>(program), const_cast<char*>(phonebook.c_str()),
                          nullptr};
    if (posix_spawn(&pid_, program, &actions, nullptr, argv, environ) != 0) {
      pid_ = 0;
    }
    posix_spawn_file_actions_destroy(&actions);
    close(to_peer[0]);
    close(from_peer[1]);
    input_ = to_peer[1];
    output_ = from_peer[0];
  }
  ~PeerProcess() {
    close(input_);  // the peer exits at the end of its input
    close(output_);
    Wait();
  }
  PeerProcess(const PeerProcess&) = delete;
  PeerProcess& operator=(const PeerProcess&) = delete;

  // The peer's one-line answer, or "no answer" when it gives none in time.
  std::string Ask(const std::string& command) {
    const std::string line = command + "\n";
    if (write(input_, line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
      return "no answer";
    }
    std::string answer;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (char c = 0; std::chrono::steady_clock::now() < deadline;) {
      pollfd ready{output_, POLLIN, 0};
      if (poll(&ready, 1, 100) == 1 && read(output_, &c, 1) == 1) {
        if (c == '\n') {
          return answer;
        }
        answer += c;
      }
    }
    return "no answer";
  }

  // The peer's connection of `entry`, dialed to the end; null when it did not connect.
  rassim::Handle Dial(const std::string& entry) {
    std::istringstream answer(Ask("dial " + entry));
    uint32_t result = 0;
    uintptr_t handle = 0;
    answer >> result >> handle;
    return answer && result == rassim::kSuccess ? reinterpret_cast<rassim::Handle>(handle)
                                                : nullptr;
  }

  std::string Ask(const std::string& command, rassim::Handle handle) {
    return Ask(command + " " + std::to_string(reinterpret_cast<uintptr_t>(handle)));
  }

  // Ends the peer at once, as a crash or the task manager would.
  void Kill() {
    kill(pid_, SIGKILL);
    Wait();
  }

 private:
  void Wait() {
    if (pid_ > 0) {
      waitpid(pid_, nullptr, 0);
      pid_ = 0;
    }
  }

  pid_t pid_ = 0;
  int input_ = -1;
  int output_ = -1;
};

}  // namespace rassim_test
