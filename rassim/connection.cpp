// This process's connections, and how they follow their lines in the store.
#include "rassim/connection.h"

#include <iterator>
#include <system_error>

namespace rassim {
namespace {

// Brings a stored connection in line with its line's state, which any process may have
// changed: a hang-up under way, a drop, or its end.
void FollowLocked(Engine& engine, Connection& connection, LineState state) {
  switch (state.phase) {
    case Phase::kGone:
      EndLocked(engine, connection, state.reason);
      return;
    case Phase::kDropped:
      if (!connection.dropped) {
        SetEventsLocked(engine, connection.disconnection_events);
        connection.dropped = true;
        connection.state = kDisconnected;
        connection.error = state.reason;
      }
      break;
    case Phase::kHangingUp:
      connection.hanging_up = true;
      break;
    case Phase::kConnected:
      break;
  }
  engine.changed.notify_all();
}

// After reading or writing a line: this process's connection follows it, and a line that
// has ended leaves the store.
void SettleLocked(Engine& engine, uint64_t id, LineState state) {
  const std::shared_ptr<Connection> own = FindLocked(engine, id);
  if (own && own->stored) {
    FollowLocked(engine, *own, state);
  }
  if (state.phase == Phase::kGone) {
    RemoveLine(id);
  }
}

std::optional<Line> Settled(Engine& engine, std::optional<LineRecord> record, uint64_t id) {
  const LineState state =
      record ? StateAt(*record, MachineMs()) : LineState{Phase::kGone, kPortDisconnected};
  SettleLocked(engine, id, state);
  if (state.phase == Phase::kGone) {
    return std::nullopt;
  }
  return Line{std::move(*record), state};
}

template <typename Predicate>
void EndAllLocked(Engine& engine, Predicate matches, uint32_t reason) {
  std::vector<std::shared_ptr<Connection>> ending;
  for (const auto& [id, connection] : engine.live) {
    if (matches(*connection)) {
      ending.push_back(connection);
    }
  }
  for (const auto& connection : ending) {
    EndLocked(engine, *connection, reason);
  }
}

}  // namespace

// Never destroyed: at process exit worker threads may still run, and destroying a
// joinable std::thread would end the process with an error.
Engine& TheEngine() {
  static Engine* engine = new Engine;
  return *engine;
}

bool Ending(const Connection& connection) {
  return connection.gone || connection.hanging_up || connection.dropped;
}

std::shared_ptr<Connection> FindLocked(Engine& engine, uint64_t id) {
  const auto it = engine.live.find(id);
  return it == engine.live.end() ? nullptr : it->second;
}

void SetEventsLocked(Engine& engine, std::vector<void*>& events) {
  if (const EventSetter set_event = engine.set_event) {
    for (void* event : events) {
      set_event(event);
    }
  }
  events.clear();
}

void EndLocked(Engine& engine, Connection& connection, uint32_t reason) {
  if (connection.gone) {
    return;
  }
  SetEventsLocked(engine, connection.disconnection_events);
  if (connection.stored) {
    RemoveLine(connection.id);
  }
  connection.gone = true;
  if (connection.error == kSuccess) {
    connection.error = reason;
  }
  engine.live.erase(connection.id);
  engine.changed.notify_all();
}

std::optional<Line> CurrentLineLocked(Engine& engine, uint64_t id) {
  return Settled(engine, ReadLine(id), id);
}

std::vector<Line> CurrentLinesLocked(Engine& engine) {
  std::vector<Line> lines;
  for (LineRecord& record : ReadLines()) {
    const uint64_t id = record.handle;
    if (std::optional<Line> line = Settled(engine, std::move(record), id)) {
      lines.push_back(std::move(*line));
    }
  }
  return lines;
}

void StoreLocked(Engine& engine, const LineRecord& line) {
  WriteLine(line);
  SettleLocked(engine, line.handle, StateAt(line, MachineMs()));
}

void DropLocked(Engine& engine, const std::string& target) {
  const auto matches = [&](const std::string& entry) {
    return target == "*" || SameText(entry, target);
  };
  // A dial of this process that has not connected yet ends at once.
  EndAllLocked(
      engine, [&](const Connection& c) { return !c.stored && !Ending(c) && matches(c.entry.name); },
      kPortDisconnected);
  // A connected line, whichever process dialed it.
  for (Line& line : CurrentLinesLocked(engine)) {
    if (line.state.phase == Phase::kConnected && matches(line.record.entry)) {
      line.record.dropped_at = MachineMs();
      StoreLocked(engine, line.record);
    }
  }
}

bool StartWorkerLocked(Engine& engine, std::function<void()> work) {
  auto done = std::make_shared<bool>(false);
  try {
    engine.workers.push_back({done, std::thread([&engine, done, work = std::move(work)] {
                                work();
                                std::lock_guard lock(engine.mutex);
                                *done = true;
                              })});
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

void Reap(Engine& engine) {
  std::list<Worker> finished;
  {
    std::lock_guard lock(engine.mutex);
    for (auto it = engine.workers.begin(); it != engine.workers.end();) {
      auto next = std::next(it);
      if (*it->done) {
        finished.splice(finished.end(), engine.workers, it);
      }
      it = next;
    }
  }
  for (Worker& worker : finished) {
    worker.thread.join();
  }
}

void Shutdown() {
  StopWatching();
  Engine& engine = TheEngine();
  for (;;) {
    std::list<Worker> workers;
    {
      std::lock_guard lock(engine.mutex);
      EndAllLocked(
          engine, [](const Connection&) { return true; }, kUserDisconnection);
      workers.swap(engine.workers);
    }
    if (workers.empty()) {
      return;
    }
    for (Worker& worker : workers) {
      worker.thread.join();
    }
  }
}

void SetEventSetter(EventSetter setter) {
  TheEngine().set_event = setter;
}

void Drop(const std::string& entry) {
  Engine& engine = TheEngine();
  std::lock_guard lock(engine.mutex);
  DropLocked(engine, entry);
}

bool Move(const std::string& entry, uint64_t received, uint64_t sent) {
  Engine& engine = TheEngine();
  std::lock_guard lock(engine.mutex);
  bool moved = false;
  for (Line& line : CurrentLinesLocked(engine)) {
    if (line.state.phase == Phase::kConnected && SameText(line.record.entry, entry)) {
      line.record.moved_received += received;
      line.record.moved_sent += sent;
      moved = WriteLine(line.record) || moved;
    }
  }
  return moved;
}

}  // namespace rassim
