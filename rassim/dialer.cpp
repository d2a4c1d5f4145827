// Simulated dials: one worker thread per connection walks the dial steps, then watches the
// line until it is hung up, dropped by the control file or drops by itself.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <list>
#include <map>
#include <memory>
#include <optional>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "dialup/ras_fields.h"
#include "rassim/codes.h"
#include "rassim/entry.h"
#include "rassim/rassim.h"

namespace rassim {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// How often a waiting worker looks for the control file.
constexpr auto kControlPoll = std::chrono::milliseconds(100);

constexpr uint32_t kDialSteps[] = {kRasOpenPort,
                                   kRasPortOpened,
                                   kRasConnectDevice,
                                   kRasDeviceConnected,
                                   kRasAllDevicesConnected,
                                   kRasAuthenticate,
                                   kRasAuthenticated,
                                   kRasConnected};

struct Connection {
  uintptr_t id = 0;
  EntrySettings entry;
  RasDialFunc notifier = nullptr;  // null for a blocking dial
  uint32_t state = kRasOpenPort;
  uint32_t error = kRasSuccess;  // once gone: why, unless a dial error came first
  bool gone = false;             // RAS no longer knows the handle
  bool done = false;             // the worker has returned
  Clock::time_point connected_at;
  std::vector<void*> disconnection_events;
};

struct Worker {
  std::shared_ptr<Connection> connection;
  std::thread thread;
};

struct Engine {
  std::mutex mutex;  // guards everything below and every Connection's changing fields
  std::condition_variable changed;
  std::map<uintptr_t, std::shared_ptr<Connection>> live;
  std::list<Worker> workers;  // not yet joined
  uintptr_t next_id = 0x1000;
  std::mutex control_mutex;  // one reader of the control file at a time
  std::atomic<EventSetter> set_event{nullptr};
};

// Never destroyed: at process exit worker threads may still run, and destroying a
// joinable std::thread would end the process with an error.
Engine& TheEngine() {
  static Engine* engine = new Engine;
  return *engine;
}

// Real RAS is one for the whole machine: a line one program dialed is listed to every
// other. Each process marks its connected lines with a file beside the phonebook,
// "rassim-line-<process tag>-<handle>" holding the entry name, and lists the others'.
constexpr std::string_view kLinePrefix = "rassim-line-";

uint32_t ProcessTag() {
  static const uint32_t tag = [] {
    std::random_device random;
    return std::uniform_int_distribution<uint32_t>(1, 0x7FFFFFFF)(random);
  }();
  return tag;
}

fs::path LineFilePath(uint32_t tag, uintptr_t id) {
  return fs::path(PhonebookPath()).parent_path() /
         (std::string(kLinePrefix) + std::to_string(tag) + "-" + std::to_string(id));
}

void MarkLine(const Connection& connection) {
  const fs::path path = LineFilePath(ProcessTag(), connection.id);
  const fs::path temporary = fs::path(path).concat(".tmp");
  std::ofstream(temporary, std::ios::binary) << connection.entry.name;
  std::error_code ignored;
  fs::rename(temporary, path, ignored);
}

void UnmarkLine(const Connection& connection) {
  std::error_code ignored;
  fs::remove(LineFilePath(ProcessTag(), connection.id), ignored);
}

// Another process's connected line, as its file tells it.
struct ForeignLine {
  RasHandle handle;
  std::string entry;
};

// Foreign handles carry their process's tag in the upper half, so they never meet ours.
RasHandle ForeignHandle(uint32_t tag, uintptr_t id) {
  return reinterpret_cast<RasHandle>((static_cast<uint64_t>(tag) << 32) | id);
}

std::vector<ForeignLine> ForeignLines() {
  std::vector<ForeignLine> lines;
  std::error_code error;
  for (const auto& file : fs::directory_iterator(fs::path(PhonebookPath()).parent_path(), error)) {
    const std::string name = file.path().filename().string();
    unsigned long long tag = 0, id = 0;
    if (!name.starts_with(kLinePrefix) || name.ends_with(".tmp") ||
        std::sscanf(name.c_str() + kLinePrefix.size(), "%llu-%llu", &tag, &id) != 2 ||
        tag == ProcessTag()) {
      continue;
    }
    std::ifstream in(file.path(), std::ios::binary);
    std::string entry;
    std::getline(in, entry);
    if (!entry.empty()) {
      lines.push_back({ForeignHandle(static_cast<uint32_t>(tag), id), entry});
    }
  }
  return lines;
}

std::optional<ForeignLine> FindForeignLine(RasHandle handle) {
  for (const ForeignLine& line : ForeignLines()) {
    if (line.handle == handle) {
      return line;
    }
  }
  return std::nullopt;
}

// Where the dial of an outcome stops, and the error it reports there.
struct Stop {
  uint32_t state;
  uint32_t error;
};

Stop StopOf(Outcome outcome) {
  switch (outcome) {
    case Outcome::kBusy:
      return {kRasConnectDevice, kRasLineBusy};
    case Outcome::kNoAnswer:
      return {kRasConnectDevice, kRasNoAnswer};
    case Outcome::kBadAccount:
      return {kRasAuthenticate, kRasAuthenticationFailure};
    case Outcome::kVanish:
      return {kRasConnectDevice, kPortDisconnected};
    default:
      return {kRasConnected, kRasSuccess};
  }
}

// Caller holds the mutex.
void EndLocked(Engine& engine, Connection& connection, uint32_t reason) {
  if (connection.state == kRasConnected) {
    UnmarkLine(connection);
  }
  connection.gone = true;
  if (connection.error == kRasSuccess) {
    connection.error = reason;
  }
  if (const EventSetter set_event = engine.set_event) {
    for (void* event : connection.disconnection_events) {
      set_event(event);
    }
  }
  connection.disconnection_events.clear();
  engine.live.erase(connection.id);
  engine.changed.notify_all();
}

// Caller holds the mutex.
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

// Caller holds the mutex. `target` is an entry name, matched without regard to case, or "*".
void DropLocked(Engine& engine, const std::string& target) {
  EndAllLocked(
      engine, [&](const Connection& c) { return target == "*" || SameText(c.entry.name, target); },
      kPortDisconnected);
}

fs::path ControlFilePath() {
  return fs::path(PhonebookPath()).parent_path() / "rassim.ctl";
}

// Carries out the lines `drop <entry name>` and `drop *`, then deletes the file.
void ReadControlFile(Engine& engine) {
  try {
    std::lock_guard file_lock(engine.control_mutex);
    const fs::path path = ControlFilePath();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
      return;
    }
    std::vector<std::string> targets;
    for (std::string line; std::getline(in, line);) {
      const std::string_view text = Trim(line);
      const size_t blank = text.find_first_of(" \t");
      if (blank != std::string_view::npos && SameText(text.substr(0, blank), "drop")) {
        targets.emplace_back(Trim(text.substr(blank)));
      }
    }
    in.close();
    std::error_code ignored;
    fs::remove(path, ignored);
    std::lock_guard lock(engine.mutex);
    for (const std::string& target : targets) {
      DropLocked(engine, target);
    }
  } catch (const std::exception&) {
    // An unreadable control file is left for the next look.
  }
}

// Waits until `deadline` or until the connection has gone, reading the control file
// meanwhile.
void Pause(Engine& engine, const Connection& connection, Clock::time_point deadline) {
  std::unique_lock lock(engine.mutex);
  while (!connection.gone && Clock::now() < deadline) {
    const Clock::time_point slice = std::min(deadline, Clock::now() + kControlPoll);
    engine.changed.wait_until(lock, slice, [&] { return connection.gone; });
    lock.unlock();
    ReadControlFile(engine);
    lock.lock();
  }
}

void PauseOneStep(Engine& engine, const Connection& connection) {
  Pause(engine, connection,
        Clock::now() + std::chrono::milliseconds(connection.entry.step_delay_ms));
}

void Notify(const Connection& connection, uint32_t state, uint32_t error) {
  if (connection.notifier) {
    connection.notifier(kWmRasDialEvent, state, error);
  }
}

// For a connection found gone mid-dial: a user's hang-up earns one last notification
// with error 631; any other end passes in silence. Always false.
bool SayGoodbye(std::unique_lock<std::mutex>& lock, const Connection& connection) {
  const uint32_t state = connection.state;
  const bool hung_up = connection.error == kRasUserDisconnection;
  lock.unlock();
  if (hung_up) {
    Notify(connection, state, kRasUserDisconnection);
  }
  return false;
}

// Moves the dial to `state` and tells the notifier, never under the lock: the notifier
// may block until the program's UI thread, which may be calling us, has caught up.
// False when the connection has gone.
bool Report(Engine& engine, Connection& connection, uint32_t state, uint32_t error) {
  std::unique_lock lock(engine.mutex);
  if (connection.gone) {
    return SayGoodbye(lock, connection);
  }
  connection.state = state;
  connection.error = error;
  if (state == kRasConnected) {
    connection.connected_at = Clock::now();
    MarkLine(connection);
  }
  engine.changed.notify_all();
  lock.unlock();
  Notify(connection, state, error);
  return true;
}

// The handle disappears without a word, as if the modem had lost the port.
void Vanish(Engine& engine, Connection& connection, uint32_t reason) {
  std::unique_lock lock(engine.mutex);
  if (connection.gone) {
    SayGoodbye(lock, connection);
  } else {
    EndLocked(engine, connection, reason);
  }
}

// Watches a connected line until it goes, or drops it after DropAfter seconds.
void Watch(Engine& engine, Connection& connection) {
  const uint32_t drop_after = connection.entry.drop_after_s;
  Pause(engine, connection,
        drop_after ? connection.connected_at + std::chrono::seconds(drop_after)
                   : Clock::time_point::max());
  std::lock_guard lock(engine.mutex);
  if (!connection.gone) {
    EndLocked(engine, connection, kPortDisconnected);
  }
}

void Dial(Engine& engine, Connection& connection) {
  const Stop stop = StopOf(connection.entry.outcome);
  for (uint32_t state : kDialSteps) {
    if (!Report(engine, connection, state, kRasSuccess)) {
      return;
    }
    if (state == stop.state) {
      break;
    }
    PauseOneStep(engine, connection);
  }
  if (stop.state == kRasConnected) {
    Watch(engine, connection);
    return;
  }
  PauseOneStep(engine, connection);
  if (connection.entry.outcome == Outcome::kVanish) {
    Vanish(engine, connection, stop.error);
  } else {
    Report(engine, connection, stop.state, stop.error);
  }
}

void Work(Engine& engine, std::shared_ptr<Connection> connection) {
  Dial(engine, *connection);
  std::lock_guard lock(engine.mutex);
  connection->done = true;
}

// Joins the workers that have finished, so that many dials do not pile up threads.
void Reap(Engine& engine) {
  std::list<Worker> finished;
  {
    std::lock_guard lock(engine.mutex);
    for (auto it = engine.workers.begin(); it != engine.workers.end();) {
      auto next = std::next(it);
      if (it->connection->done) {
        finished.splice(finished.end(), engine.workers, it);
      }
      it = next;
    }
  }
  for (Worker& worker : finished) {
    worker.thread.join();
  }
}

// Caller holds the mutex.
std::shared_ptr<Connection> FindLocked(Engine& engine, RasHandle handle) {
  const auto it = engine.live.find(reinterpret_cast<uintptr_t>(handle));
  return it == engine.live.end() ? nullptr : it->second;
}

// Starts the worker; 0 or the code of the failure.
uint32_t Start(Engine& engine, const std::shared_ptr<Connection>& connection) {
  std::lock_guard lock(engine.mutex);
  connection->id = engine.next_id++;
  try {
    engine.workers.push_back({connection, std::thread(Work, std::ref(engine), connection)});
  } catch (const std::system_error&) {
    return kInternalError;
  }
  engine.live[connection->id] = connection;
  return kRasSuccess;
}

uint32_t AwaitDial(Engine& engine, const Connection& connection) {
  std::unique_lock lock(engine.mutex);
  engine.changed.wait(lock, [&] {
    return connection.state == kRasConnected || connection.error != kRasSuccess || connection.gone;
  });
  return connection.state == kRasConnected ? kRasSuccess : connection.error;
}

}  // namespace

void Shutdown() {
  Engine& engine = TheEngine();
  for (;;) {
    std::list<Worker> workers;
    {
      std::lock_guard lock(engine.mutex);
      EndAllLocked(
          engine, [](const Connection&) { return true; }, kRasUserDisconnection);
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

uint32_t RAS_CALL RasDialA(void*, const char*, TRasDialParams* params, uint32_t notifier_type,
                           void* notifier, RasHandle* handle) {
  if (!params || !handle) {
    return kBufferInvalid;
  }
  *handle = nullptr;
  if (params->dwSize != kRasDialParamsSize) {
    return kRasInvalidSize;
  }
  if (notifier && notifier_type != 0) {
    return kInvalidParameter;
  }
  const std::optional<EntrySettings> entry = LoadEntry(FieldText(params->szEntryName));
  if (!entry) {
    return kRasCannotFindEntry;
  }
  if (entry->outcome == Outcome::kRefuse) {
    return entry->refuse_code;
  }
  Engine& engine = TheEngine();
  Reap(engine);
  auto connection = std::make_shared<Connection>();
  connection->entry = *entry;
  connection->notifier = reinterpret_cast<RasDialFunc>(notifier);
  const uint32_t started = Start(engine, connection);
  if (started != kRasSuccess) {
    return started;
  }
  *handle = reinterpret_cast<RasHandle>(connection->id);
  return notifier ? kRasSuccess : AwaitDial(engine, *connection);
}

uint32_t RAS_CALL RasEnumConnectionsA(TRasConn* connections, uint32_t* cb, uint32_t* count) {
  if (!cb || !count) {
    return kBufferInvalid;
  }
  if (connections && connections->dwSize != kRasConnSize) {
    return kRasInvalidSize;
  }
  std::vector<TRasConn> listed;
  auto list = [&](RasHandle handle, const std::string& entry, const EntrySettings& settings) {
    TRasConn& row = listed.emplace_back();
    row.dwSize = kRasConnSize;
    row.hrasconn = handle;
    CopyField(row.szEntryName, entry);
    CopyField(row.szDeviceType, settings.device_type);
    CopyField(row.szDeviceName, settings.device);
  };
  {
    Engine& engine = TheEngine();
    std::lock_guard lock(engine.mutex);
    for (const auto& [id, connection] : engine.live) {
      list(reinterpret_cast<RasHandle>(id), connection->entry.name, connection->entry);
    }
  }
  for (const ForeignLine& line : ForeignLines()) {
    list(line.handle, line.entry, LoadEntry(line.entry).value_or(EntrySettings{}));
  }
  const uint32_t needed = static_cast<uint32_t>(listed.size()) * kRasConnSize;
  *count = static_cast<uint32_t>(listed.size());
  if (*cb < needed || (!connections && needed > 0)) {
    *cb = needed;
    return kRasBufferTooSmall;
  }
  std::copy(listed.begin(), listed.end(), connections);
  *cb = needed;
  return kRasSuccess;
}

uint32_t RAS_CALL RasGetConnectStatusA(RasHandle handle, TRasConnStatusA* status) {
  if (!status) {
    return kBufferInvalid;
  }
  if (status->dwSize != kRasConnStatusSize) {
    return kRasInvalidSize;
  }
  Engine& engine = TheEngine();
  std::lock_guard lock(engine.mutex);
  const std::shared_ptr<Connection> connection = FindLocked(engine, handle);
  if (!connection) {
    const std::optional<ForeignLine> line = FindForeignLine(handle);
    if (!line) {
      return kRasInvalidHandle;
    }
    const EntrySettings settings = LoadEntry(line->entry).value_or(EntrySettings{});
    status->rasconnstate = kRasConnected;
    status->dwError = kRasSuccess;
    CopyField(status->szDeviceType, settings.device_type);
    CopyField(status->szDeviceName, settings.device);
    return kRasSuccess;
  }
  status->rasconnstate = connection->state;
  status->dwError = connection->error;
  CopyField(status->szDeviceType, connection->entry.device_type);
  CopyField(status->szDeviceName, connection->entry.device);
  return kRasSuccess;
}

uint32_t RAS_CALL RasHangUpA(RasHandle handle) {
  Engine& engine = TheEngine();
  std::lock_guard lock(engine.mutex);
  const std::shared_ptr<Connection> connection = FindLocked(engine, handle);
  if (!connection) {
    return kRasInvalidHandle;
  }
  EndLocked(engine, *connection, kRasUserDisconnection);
  return kRasSuccess;
}

uint32_t RAS_CALL RasGetProjectionInfoA(RasHandle handle, uint32_t projection, void* info,
                                        uint32_t* cb) {
  if (!info || !cb) {
    return kBufferInvalid;
  }
  if (projection != kRasProjectionPppIp) {
    return kProtocolNotConfigured;
  }
  if (*cb < kRasPppIpSize) {
    *cb = kRasPppIpSize;
    return kRasBufferTooSmall;
  }
  auto* ip = static_cast<TRasPppIp*>(info);
  if (ip->dwSize != kRasPppIpSize) {
    return kRasInvalidSize;
  }
  Engine& engine = TheEngine();
  std::lock_guard lock(engine.mutex);
  const std::shared_ptr<Connection> connection = FindLocked(engine, handle);
  if (!connection) {
    return kRasInvalidHandle;
  }
  if (connection->state != kRasConnected) {
    return kProjectionNotComplete;
  }
  ip->dwError = kRasSuccess;
  CopyField(ip->szIpAddress, connection->entry.client_ip);
  CopyField(ip->szServerIpAddress, connection->entry.server_ip);
  *cb = kRasPppIpSize;
  return kRasSuccess;
}

uint32_t RAS_CALL RasGetConnectionStatistics(RasHandle handle, TRasStats* stats) {
  if (!stats) {
    return kBufferInvalid;
  }
  if (stats->dwSize != kRasStatsSize) {
    return kRasInvalidSize;
  }
  Engine& engine = TheEngine();
  std::lock_guard lock(engine.mutex);
  const std::shared_ptr<Connection> connection = FindLocked(engine, handle);
  if (!connection) {
    return kRasInvalidHandle;
  }
  *stats = TRasStats{};
  stats->dwSize = kRasStatsSize;
  if (connection->state != kRasConnected) {
    return kRasSuccess;
  }
  const EntrySettings& entry = connection->entry;
  const uint64_t ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - connection->connected_at)
          .count();
  // The counters wrap at 32 bits, as the real ones do.
  stats->dwBytesXmited = static_cast<uint32_t>(entry.send_bps * ms / 1000);
  stats->dwBytesRcved = static_cast<uint32_t>(entry.recv_bps * ms / 1000);
  stats->dwFramesXmited = stats->dwBytesXmited / 1500;
  stats->dwFramesRcved = stats->dwBytesRcved / 1500;
  stats->dwBps = entry.link_speed;
  stats->dwConnectDuration = static_cast<uint32_t>(ms);
  return kRasSuccess;
}

uint32_t RAS_CALL RasConnectionNotificationA(RasHandle handle, void* event, uint32_t flags) {
  if (!event || flags != kRasNotifyDisconnection) {
    return kInvalidParameter;
  }
  Engine& engine = TheEngine();
  std::lock_guard lock(engine.mutex);
  const std::shared_ptr<Connection> connection = FindLocked(engine, handle);
  if (!connection) {
    return kRasInvalidHandle;
  }
  connection->disconnection_events.push_back(event);
  return kRasSuccess;
}

}  // namespace rassim
