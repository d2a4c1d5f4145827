// This process's connections: each dial from its first step until RAS forgets its handle.
// Once connected a line is stored (line_store.h), and the store holds the truth about it
// for every process; the dialing process's connection follows what the store says.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "rassim/entry.h"
#include "rassim/line_store.h"
#include "rassim/rassim.h"

namespace rassim {

// How often a waiting thread looks at the files: the control file and the lines.
constexpr auto kLookEvery = std::chrono::milliseconds(100);

struct Connection {
  uint64_t id = 0;
  EntrySettings entry;
  std::string phone_number;     // the number dialed
  DialFunc notifier = nullptr;  // null for a blocking dial
  uint32_t state = kOpenPort;
  uint32_t error = kSuccess;  // once gone: why, unless a dial error came first
  bool hanging_up = false;    // RasHangUpA was called; RAS still knows the handle
  bool dropped = false;       // the line dropped; RAS still knows the handle
  bool gone = false;          // RAS no longer knows the handle
  bool stored = false;        // connected: the line store has it
  std::vector<void*> disconnection_events;
};

// A thread of the engine: a dial's, or a hang-up's that completes in the background.
struct Worker {
  std::shared_ptr<bool> done;  // set, under the engine's mutex, when the thread returns
  std::thread thread;
};

struct Engine {
  std::mutex mutex;  // guards everything below and every Connection's changing fields
  std::condition_variable changed;
  std::map<uint64_t, std::shared_ptr<Connection>> live;
  std::list<Worker> workers;  // not yet joined
  std::mutex control_mutex;   // one reader of the control file at a time
  std::atomic<EventSetter> set_event{nullptr};
};

Engine& TheEngine();

inline uint64_t IdOf(Handle handle) {
  return reinterpret_cast<uintptr_t>(handle);
}
inline Handle HandleOf(uint64_t id) {
  return reinterpret_cast<Handle>(static_cast<uintptr_t>(id));
}

// The connection is on its way out, or out: the dial goes no further.
bool Ending(const Connection& connection);

// A stored line as it stands now.
struct Line {
  LineRecord record;
  LineState state;
};

// The functions ending in Locked expect the caller to hold the engine's mutex; the others
// must be called without it.

std::shared_ptr<Connection> FindLocked(Engine& engine, uint64_t id);
// Sets the events and forgets them.
void SetEventsLocked(Engine& engine, std::vector<void*>& events);
// RAS forgets the handle; a stored line leaves the store.
void EndLocked(Engine& engine, Connection& connection, uint32_t reason);
// The stored line of `id`, after this process's connection to it, if any, has followed it;
// nothing once the line is gone, whose file then goes too.
std::optional<Line> CurrentLineLocked(Engine& engine, uint64_t id);
std::vector<Line> CurrentLinesLocked(Engine& engine);
// Writes a changed line, and lets this process's connection to it follow.
void StoreLocked(Engine& engine, const LineRecord& line);
// `target` is an entry name, matched without regard to case, or "*".
void DropLocked(Engine& engine, const std::string& target);
// Hangs up a dial that has not connected yet: RAS lets go of it after the entry's delay.
void HangUpDialLocked(Engine& engine, const std::shared_ptr<Connection>& connection);
// Runs `work` on a thread of its own; false when none could start.
bool StartWorkerLocked(Engine& engine, std::function<void()> work);

// Joins the workers that have finished, so that many dials do not pile up threads.
void Reap(Engine& engine);

// Carries out the control file, if there is one, and deletes it.
void ReadControlFile(Engine& engine);

// Ends the watch of lines for notifications and forgets its registrations.
void StopWatching();

}  // namespace rassim
