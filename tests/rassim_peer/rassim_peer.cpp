// A second process for the RAS substitute's tests: the engine, driven by one command a
// line on stdin, answering one line each on stdout. It ends at the end of its input
// without hanging anything up, as a program that exits.
//
//   rassim_peer <phonebook>
//
//   dial <entry>      -> <result> <handle>
//   list              -> <result> <handle>:<entry> ...
//   status <handle>   -> <result> <state> <error>
//   stats <handle>    -> <result> <bytes sent> <bytes received> <bps> <duration ms>
//   hangup <handle>   -> <result>
//   notify <handle>   -> <result>       (its disconnection, on the one event of the peer)
//   wait              -> set | timeout  (for that event, at most 5 seconds)
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <iostream>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "rassim/rassim.h"

namespace {

std::mutex g_mutex;
std::condition_variable g_changed;
bool g_set = false;
int g_event = 0;

void SetEvent(void*) {
  std::lock_guard lock(g_mutex);
  g_set = true;
  g_changed.notify_all();
}

rassim::Handle HandleArg(std::istream& in) {
  uintptr_t handle = 0;
  in >> handle;
  return reinterpret_cast<rassim::Handle>(handle);
}

std::string Dial(std::istream& in) {
  std::string entry;
  std::getline(in >> std::ws, entry);
  rassim::RasDialParams params{};
  params.dwSize = sizeof params;
  rassim::Put(params.szEntryName, entry);
  rassim::Handle handle = nullptr;
  const uint32_t result = rassim::RasDialA(nullptr, nullptr, &params, 0, nullptr, &handle);
  return std::to_string(result) + " " + std::to_string(reinterpret_cast<uintptr_t>(handle));
}

std::string List() {
  std::vector<rassim::RasConn> rows(16);
  rows[0].dwSize = sizeof(rassim::RasConn);
  uint32_t cb = static_cast<uint32_t>(rows.size() * sizeof(rassim::RasConn));
  uint32_t count = 0;
  std::string reply = std::to_string(rassim::RasEnumConnectionsA(rows.data(), &cb, &count));
  for (uint32_t i = 0; i < count && i < rows.size(); ++i) {
    reply += " " + std::to_string(reinterpret_cast<uintptr_t>(rows[i].hrasconn)) + ":" +
             rassim::Text(rows[i].szEntryName);
  }
  return reply;
}

std::string Status(rassim::Handle handle) {
  rassim::RasConnStatus status{};
  status.dwSize = sizeof status;
  const uint32_t result = rassim::RasGetConnectStatusA(handle, &status);
  return std::to_string(result) + " " + std::to_string(status.rasconnstate) + " " +
         std::to_string(status.dwError);
}

std::string Stats(rassim::Handle handle) {
  rassim::RasStats stats{};
  stats.dwSize = sizeof stats;
  const uint32_t result = rassim::RasGetConnectionStatistics(handle, &stats);
  std::ostringstream reply;
  reply << result << " " << stats.dwBytesXmited << " " << stats.dwBytesRcved << " " << stats.dwBps
        << " " << stats.dwConnectDuration;
  return reply.str();
}

std::string Wait() {
  std::unique_lock lock(g_mutex);
  return g_changed.wait_for(lock, std::chrono::seconds(5), [] { return g_set; }) ? "set"
                                                                                 : "timeout";
}

std::string Answer(const std::string& line) {
  std::istringstream in(line);
  std::string command;
  in >> command;
  if (command == "dial") {
    return Dial(in);
  }
  if (command == "list") {
    return List();
  }
  if (command == "status") {
    return Status(HandleArg(in));
  }
  if (command == "stats") {
    return Stats(HandleArg(in));
  }
  if (command == "hangup") {
    return std::to_string(rassim::RasHangUpA(HandleArg(in)));
  }
  if (command == "notify") {
    return std::to_string(
        rassim::RasConnectionNotificationA(HandleArg(in), &g_event, rassim::kNotifyDisconnection));
  }
  if (command == "wait") {
    return Wait();
  }
  return "unknown";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: rassim_peer <phonebook>\n";
    return 2;
  }
  rassim::SetPhonebookPath(argv[1]);
  rassim::SetEventSetter(SetEvent);
  for (std::string line; std::getline(std::cin, line);) {
    std::cout << Answer(line) << std::endl;
  }
  // Leaves at once, its lines up and its threads running, as a program that exits.
  _exit(0);
}
