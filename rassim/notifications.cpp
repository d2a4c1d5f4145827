// RasConnectionNotificationA. The end of a line this process dialed sets its events at
// once; other processes' lines, and every line of the machine for INVALID_HANDLE_VALUE,
// are watched from their files by a thread that looks about every 100 ms.
#include <algorithm>
#include <set>

#include "rassim/connection.h"

namespace rassim {
namespace {

constexpr uint64_t kAllLines = UINTPTR_MAX;  // INVALID_HANDLE_VALUE

struct Registration {
  uint64_t id;  // a line, or kAllLines
  void* event;
  uint32_t flags;
};

struct Watcher {
  std::mutex mutex;  // guards everything below
  std::condition_variable stop;
  std::vector<Registration> registrations;
  std::set<uint64_t> up;  // the lines up at the last look
  std::thread thread;
  bool stopping = false;
};

Watcher& TheWatcher() {
  static Watcher* watcher = new Watcher;  // never destroyed, as the engine
  return *watcher;
}

// A line that is up carries data or is being hung up.
std::set<uint64_t> LinesUp(Engine& engine) {
  std::lock_guard lock(engine.mutex);
  std::set<uint64_t> up;
  for (const Line& line : CurrentLinesLocked(engine)) {
    if (line.state.phase != Phase::kDropped) {
      up.insert(line.record.handle);
    }
  }
  return up;
}

// Caller holds the watcher's mutex. Sets the events the change from `watcher.up` to `up`
// calls for; a line's own registration is done with once it is set.
void Compare(Engine& engine, Watcher& watcher, const std::set<uint64_t>& up) {
  const EventSetter set_event = engine.set_event;
  const auto left = [](const std::set<uint64_t>& from, const std::set<uint64_t>& to) {
    return std::ranges::any_of(from, [&](uint64_t id) { return !to.contains(id); });
  };
  const bool connected = left(up, watcher.up);
  const bool disconnected = left(watcher.up, up);
  const auto fire = [&](const Registration& r) {
    if (r.id != kAllLines) {
      return !up.contains(r.id);
    }
    return ((r.flags & kNotifyConnection) && connected) ||
           ((r.flags & kNotifyDisconnection) && disconnected);
  };
  std::erase_if(watcher.registrations, [&](const Registration& r) {
    if (!fire(r)) {
      return false;
    }
    if (set_event) {
      set_event(r.event);
    }
    return r.id != kAllLines;
  });
  watcher.up = up;
}

void LookAtLines(Engine& engine, Watcher& watcher) {
  std::unique_lock lock(watcher.mutex);
  while (!watcher.stop.wait_for(lock, kLookEvery, [&] { return watcher.stopping; })) {
    lock.unlock();
    ReadControlFile(engine);
    const std::set<uint64_t> up = LinesUp(engine);
    lock.lock();
    Compare(engine, watcher, up);
  }
}

void WatchFor(Engine& engine, const Registration& registration) {
  Watcher& watcher = TheWatcher();
  const std::set<uint64_t> up = LinesUp(engine);
  std::lock_guard lock(watcher.mutex);
  if (!watcher.thread.joinable()) {
    watcher.up = up;
    watcher.stopping = false;
    watcher.thread = std::thread([&engine, &watcher] { LookAtLines(engine, watcher); });
  }
  watcher.registrations.push_back(registration);
}

// A line's end, for one handle. Caller holds the engine's mutex.
uint32_t NotifyEndLocked(Engine& engine, uint64_t id, void* event, bool& watch) {
  const std::shared_ptr<Connection> own = FindLocked(engine, id);
  if (own && !own->stored) {
    own->disconnection_events.push_back(event);
    return kSuccess;
  }
  if (!CurrentLineLocked(engine, id)) {
    return kInvalidHandle;
  }
  if (own) {
    own->disconnection_events.push_back(event);
  } else {
    watch = true;
  }
  return kSuccess;
}

}  // namespace

void StopWatching() {
  Watcher& watcher = TheWatcher();
  std::thread thread;
  {
    std::lock_guard lock(watcher.mutex);
    watcher.stopping = true;
    watcher.registrations.clear();
    thread.swap(watcher.thread);
  }
  watcher.stop.notify_all();
  if (thread.joinable()) {
    thread.join();
  }
}

uint32_t RASSIM_CALL RasConnectionNotificationA(Handle handle, void* event, uint32_t flags) {
  constexpr uint32_t kKnownFlags = kNotifyConnection | kNotifyDisconnection;
  const uint64_t id = IdOf(handle);
  Engine& engine = TheEngine();
  if (!event || flags == 0 || (flags & ~kKnownFlags) != 0 ||
      (id != kAllLines && flags != kNotifyDisconnection)) {
    return kInvalidParameter;
  }
  if (id == kAllLines) {
    WatchFor(engine, {id, event, flags});
    return kSuccess;
  }
  ReadControlFile(engine);
  bool watch = false;
  uint32_t result = kSuccess;
  {
    std::lock_guard lock(engine.mutex);
    result = NotifyEndLocked(engine, id, event, watch);
  }
  if (watch) {
    WatchFor(engine, {id, event, flags});
  }
  return result;
}

}  // namespace rassim
