// Simulated dials: one worker thread per connection walks the dial steps, then watches the
// line until it is hung up, dropped by the control file or drops by itself. A hang-up,
// like a modem's, completes in the background on a thread of its own.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <optional>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "rassim/entry.h"
#include "rassim/rassim.h"

namespace rassim {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// How often a waiting worker looks for the control file.
constexpr auto kControlPoll = std::chrono::milliseconds(100);

constexpr uint32_t kDialSteps[] = {
    kOpenPort,     kPortOpened,    kConnectDevice, kDeviceConnected, kAllDevicesConnected,
    kAuthenticate, kAuthenticated, kConnected};

struct Connection {
  uintptr_t id = 0;
  EntrySettings entry;
  std::string phone_number;     // the number dialed
  DialFunc notifier = nullptr;  // null for a blocking dial
  uint32_t state = kOpenPort;
  uint32_t error = kSuccess;  // once gone: why, unless a dial error came first
  bool hanging_up = false;    // RasHangUpA was called; RAS still knows the handle
  bool dropped = false;       // the line dropped; RAS still knows the handle
  bool gone = false;          // RAS no longer knows the handle
  Clock::time_point connected_at;
  uint64_t moved_received = 0;  // bytes a test moved on top of the entry's rates
  uint64_t moved_sent = 0;
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
  Handle handle;
  std::string entry;
};

// Foreign handles carry their process's tag in the upper half, so they never meet ours.
Handle ForeignHandle(uint32_t tag, uintptr_t id) {
  return reinterpret_cast<Handle>((static_cast<uint64_t>(tag) << 32) | id);
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

std::optional<ForeignLine> FindForeignLine(Handle handle) {
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
      return {kConnectDevice, kLineBusy};
    case Outcome::kNoAnswer:
      return {kConnectDevice, kNoAnswer};
    case Outcome::kBadAccount:
      return {kAuthenticate, kAuthenticationFailure};
    case Outcome::kVanish:
      return {kConnectDevice, kPortDisconnected};
    default:
      return {kConnected, kSuccess};
  }
}

// Caller holds the mutex. The line is down: other processes no longer see it, and those
// who asked are told.
void LineDownLocked(Engine& engine, Connection& connection) {
  if (connection.state == kConnected) {
    UnmarkLine(connection);
  }
  if (const EventSetter set_event = engine.set_event) {
    for (void* event : connection.disconnection_events) {
      set_event(event);
    }
  }
  connection.disconnection_events.clear();
}

// Caller holds the mutex. RAS forgets the handle.
void EndLocked(Engine& engine, Connection& connection, uint32_t reason) {
  if (connection.gone) {
    return;
  }
  LineDownLocked(engine, connection);
  connection.gone = true;
  if (connection.error == kSuccess) {
    connection.error = reason;
  }
  engine.live.erase(connection.id);
  engine.changed.notify_all();
}

// The connection is on its way out, or out: the dial goes no further.
bool Ending(const Connection& connection) {
  return connection.gone || connection.hanging_up || connection.dropped;
}

// Caller holds the mutex. A connected line of an entry with DropLingerMs shows as
// disconnected, with the reason as its error, until its worker forgets it.
void DropLineLocked(Engine& engine, Connection& connection, uint32_t reason) {
  if (Ending(connection)) {
    return;
  }
  if (connection.state != kConnected || connection.entry.drop_linger_ms == 0) {
    EndLocked(engine, connection, reason);
    return;
  }
  LineDownLocked(engine, connection);
  connection.dropped = true;
  connection.state = kDisconnected;
  connection.error = reason;
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
  std::vector<std::shared_ptr<Connection>> dropping;
  for (const auto& [id, connection] : engine.live) {
    if (target == "*" || SameText(connection->entry.name, target)) {
      dropping.push_back(connection);
    }
  }
  for (const auto& connection : dropping) {
    DropLineLocked(engine, *connection, kPortDisconnected);
  }
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
  while (!Ending(connection) && Clock::now() < deadline) {
    const Clock::time_point slice = std::min(deadline, Clock::now() + kControlPoll);
    engine.changed.wait_until(lock, slice, [&] { return Ending(connection); });
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

// For a connection found ending mid-dial: once RAS has let go of it, a user's hang-up earns
// one last notification with error 631; any other end passes in silence. Always false.
bool SayGoodbye(Engine& engine, std::unique_lock<std::mutex>& lock, const Connection& connection) {
  engine.changed.wait(lock, [&] { return connection.gone; });
  const uint32_t state = connection.state;
  const bool hung_up = connection.error == kUserDisconnection;
  lock.unlock();
  if (hung_up) {
    Notify(connection, state, kUserDisconnection);
  }
  return false;
}

// Moves the dial to `state` and tells the notifier, never under the lock: the notifier
// may block until the program's UI thread, which may be calling us, has caught up.
// False when the connection has gone.
bool Report(Engine& engine, Connection& connection, uint32_t state, uint32_t error) {
  std::unique_lock lock(engine.mutex);
  if (Ending(connection)) {
    return SayGoodbye(engine, lock, connection);
  }
  connection.state = state;
  connection.error = error;
  if (state == kConnected) {
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
  if (Ending(connection)) {
    SayGoodbye(engine, lock, connection);
  } else {
    EndLocked(engine, connection, reason);
  }
}

// Watches a connected line until it ends, or drops it after DropAfter seconds; a dropped
// line that lingers is forgotten after DropLingerMs, unless hung up first.
void Watch(Engine& engine, Connection& connection) {
  const uint32_t drop_after = connection.entry.drop_after_s;
  Pause(engine, connection,
        drop_after ? connection.connected_at + std::chrono::seconds(drop_after)
                   : Clock::time_point::max());
  std::unique_lock lock(engine.mutex);
  DropLineLocked(engine, connection, kPortDisconnected);
  if (connection.dropped && !connection.hanging_up) {
    const auto linger = std::chrono::milliseconds(connection.entry.drop_linger_ms);
    engine.changed.wait_for(lock, linger, [&] { return connection.gone || connection.hanging_up; });
    if (!connection.hanging_up) {
      EndLocked(engine, connection, kPortDisconnected);
    }
  }
}

void Dial(Engine& engine, Connection& connection) {
  const Stop stop = StopOf(connection.entry.outcome);
  for (uint32_t state : kDialSteps) {
    if (!Report(engine, connection, state, kSuccess)) {
      return;
    }
    if (state == stop.state) {
      break;
    }
    PauseOneStep(engine, connection);
  }
  if (stop.state == kConnected) {
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

// Completes a hang-up once the entry's delay has passed; until then RAS still knows the
// handle.
void Release(Engine& engine, Connection& connection) {
  std::unique_lock lock(engine.mutex);
  const auto delay = std::chrono::milliseconds(connection.entry.hang_up_delay_ms);
  engine.changed.wait_for(lock, delay, [&] { return connection.gone; });
  EndLocked(engine, connection, kUserDisconnection);
}

// Caller holds the mutex. Runs `work` on a thread of its own; false when none could start.
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

// Joins the workers that have finished, so that many dials do not pile up threads.
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

// Caller holds the mutex.
std::shared_ptr<Connection> FindLocked(Engine& engine, Handle handle) {
  const auto it = engine.live.find(reinterpret_cast<uintptr_t>(handle));
  return it == engine.live.end() ? nullptr : it->second;
}

// Gives the connection its handle and, with `dial`, starts its worker; 0 or the code of
// the failure.
uint32_t Start(Engine& engine, const std::shared_ptr<Connection>& connection, bool dial) {
  std::lock_guard lock(engine.mutex);
  connection->id = engine.next_id++;
  if (dial && !StartWorkerLocked(engine, [&engine, connection] { Dial(engine, *connection); })) {
    return kInternalError;
  }
  engine.live[connection->id] = connection;
  return kSuccess;
}

uint32_t AwaitDial(Engine& engine, const Connection& connection) {
  std::unique_lock lock(engine.mutex);
  engine.changed.wait(lock, [&] {
    return connection.state == kConnected || connection.error != kSuccess || connection.gone;
  });
  return connection.state == kConnected ? kSuccess : connection.error;
}

// The password a dial authenticates with: the saved one for its handle.
std::string DialedPassword(const RasDialParams& params, const EntrySettings& entry) {
  const std::string typed = Text(params.szPassword);
  return typed == kSavedPasswordHandle && entry.password_stored ? entry.password : typed;
}

}  // namespace

void Shutdown() {
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
  for (const auto& [id, connection] : engine.live) {
    if (connection->state == kConnected && !Ending(*connection) &&
        SameText(connection->entry.name, entry)) {
      connection->moved_received += received;
      connection->moved_sent += sent;
      moved = true;
    }
  }
  return moved;
}

uint32_t RASSIM_CALL RasDialA(void*, const char* phonebook, RasDialParams* params,
                              uint32_t notifier_type, void* notifier, Handle* handle) {
  if (!params || !handle) {
    return kBufferInvalid;
  }
  *handle = nullptr;
  if (!Accepts(kDialParamsSizes, params->dwSize)) {
    return kInvalidSize;
  }
  if (notifier && notifier_type != 0) {
    return kInvalidParameter;
  }
  const std::optional<EntrySettings> entry = LoadEntry(phonebook, Text(params->szEntryName));
  if (!entry) {
    return kCannotFindEntry;
  }
  const bool refused = entry->outcome == Outcome::kRefuse;
  if (refused && !entry->refuse_with_handle) {
    return entry->refuse_code;
  }
  Engine& engine = TheEngine();
  Reap(engine);
  auto connection = std::make_shared<Connection>();
  connection->entry = *entry;
  if (!entry->accept_password.empty() && DialedPassword(*params, *entry) != entry->accept_password)
    connection->entry.outcome = Outcome::kBadAccount;
  connection->phone_number =
      params->szPhoneNumber[0] ? Text(params->szPhoneNumber) : entry->phone_number;
  connection->notifier = reinterpret_cast<DialFunc>(notifier);
  // A refusal that holds a handle keeps it, with its error, until it is hung up.
  connection->error = refused ? entry->refuse_code : kSuccess;
  const uint32_t started = Start(engine, connection, !refused);
  if (started != kSuccess) {
    return started;
  }
  *handle = reinterpret_cast<Handle>(connection->id);
  if (refused) {
    return entry->refuse_code;
  }
  return notifier ? kSuccess : AwaitDial(engine, *connection);
}

uint32_t RASSIM_CALL RasEnumConnectionsA(RasConn* connections, uint32_t* cb, uint32_t* count) {
  if (!cb || !count) {
    return kBufferInvalid;
  }
  // Without a buffer the call only tells the size it needs, at the newest level.
  const uint32_t size = connections ? connections->dwSize : sizeof(RasConn);
  if (!Accepts(kConnSizes, size)) {
    return kInvalidSize;
  }
  std::vector<RasConn> listed;
  auto list = [&](Handle handle, const std::string& entry, const EntrySettings& settings) {
    RasConn& row = listed.emplace_back();
    row.dwSize = size;
    row.hrasconn = handle;
    Put(row.szEntryName, entry);
    Put(row.szDeviceType, settings.device_type);
    Put(row.szDeviceName, settings.device);
    Put(row.szPhonebook, settings.phonebook.empty() ? PhonebookPath() : settings.phonebook);
  };
  {
    Engine& engine = TheEngine();
    std::lock_guard lock(engine.mutex);
    for (const auto& [id, connection] : engine.live) {
      list(reinterpret_cast<Handle>(id), connection->entry.name, connection->entry);
    }
  }
  for (const ForeignLine& line : ForeignLines()) {
    list(line.handle, line.entry, LoadEntry(nullptr, line.entry).value_or(EntrySettings{}));
  }
  const uint32_t needed = static_cast<uint32_t>(listed.size()) * size;
  *count = static_cast<uint32_t>(listed.size());
  if (*cb < needed || (!connections && needed > 0)) {
    *cb = needed;
    return kBufferTooSmall;
  }
  // Each record is the leading part of the newest level, at the caller's size.
  for (size_t i = 0; i < listed.size(); ++i) {
    std::memcpy(reinterpret_cast<unsigned char*>(connections) + i * size, &listed[i], size);
  }
  *cb = needed;
  return kSuccess;
}

uint32_t RASSIM_CALL RasGetConnectStatusA(Handle handle, RasConnStatus* status) {
  if (!status) {
    return kBufferInvalid;
  }
  const uint32_t size = status->dwSize;
  if (!Accepts(kConnStatusSizes, size)) {
    return kInvalidSize;
  }
  RasConnStatus full{};
  full.dwSize = size;
  Engine& engine = TheEngine();
  std::unique_lock lock(engine.mutex);
  const std::shared_ptr<Connection> connection = FindLocked(engine, handle);
  if (connection) {
    // A line being hung up shows as disconnected until RAS lets go of it.
    full.rasconnstate = connection->hanging_up ? kDisconnected : connection->state;
    full.dwError = connection->hanging_up ? kSuccess : connection->error;
    Put(full.szDeviceType, connection->entry.device_type);
    Put(full.szDeviceName, connection->entry.device);
    Put(full.szPhoneNumber, connection->phone_number);
  } else {
    lock.unlock();
    const std::optional<ForeignLine> line = FindForeignLine(handle);
    if (!line) {
      return kInvalidHandle;
    }
    const EntrySettings settings = LoadEntry(nullptr, line->entry).value_or(EntrySettings{});
    full.rasconnstate = kConnected;
    Put(full.szDeviceType, settings.device_type);
    Put(full.szDeviceName, settings.device);
    Put(full.szPhoneNumber, settings.phone_number);
  }
  std::memcpy(status, &full, size);
  return kSuccess;
}

// Returns at once; RAS lets go of the handle after the entry's HangUpDelayMs.
uint32_t RASSIM_CALL RasHangUpA(Handle handle) {
  Engine& engine = TheEngine();
  std::lock_guard lock(engine.mutex);
  const std::shared_ptr<Connection> connection = FindLocked(engine, handle);
  if (!connection) {
    return kInvalidHandle;
  }
  if (connection->hanging_up) {
    return kSuccess;
  }
  connection->hanging_up = true;
  engine.changed.notify_all();
  if (connection->entry.hang_up_delay_ms == 0 ||
      !StartWorkerLocked(engine, [&engine, connection] { Release(engine, *connection); })) {
    EndLocked(engine, *connection, kUserDisconnection);
  }
  return kSuccess;
}

uint32_t RASSIM_CALL RasGetProjectionInfoA(Handle handle, uint32_t projection, void* info,
                                           uint32_t* cb) {
  if (!info || !cb) {
    return kBufferInvalid;
  }
  if (projection != kProjectionPppIp) {
    return kProtocolNotConfigured;
  }
  auto* ip = static_cast<RasPppIp*>(info);
  const uint32_t size = ip->dwSize;
  if (!Accepts(kPppIpSizes, size)) {
    return kInvalidSize;
  }
  if (*cb < size) {
    *cb = size;
    return kBufferTooSmall;
  }
  Engine& engine = TheEngine();
  std::lock_guard lock(engine.mutex);
  const std::shared_ptr<Connection> connection = FindLocked(engine, handle);
  if (!connection) {
    return kInvalidHandle;
  }
  if (connection->state != kConnected || connection->hanging_up) {
    return kProjectionNotComplete;
  }
  RasPppIp full{};
  full.dwSize = size;
  Put(full.szIpAddress, connection->entry.client_ip);
  Put(full.szServerIpAddress, connection->entry.server_ip);
  std::memcpy(ip, &full, size);
  *cb = size;
  return kSuccess;
}

uint32_t RASSIM_CALL RasGetConnectionStatistics(Handle handle, RasStats* stats) {
  if (!stats) {
    return kBufferInvalid;
  }
  if (!Accepts(kStatsSizes, stats->dwSize)) {
    return kInvalidSize;
  }
  Engine& engine = TheEngine();
  std::lock_guard lock(engine.mutex);
  const std::shared_ptr<Connection> connection = FindLocked(engine, handle);
  if (!connection) {
    return kInvalidHandle;
  }
  *stats = RasStats{};
  stats->dwSize = sizeof(RasStats);
  if (connection->state != kConnected) {
    return kSuccess;
  }
  const EntrySettings& entry = connection->entry;
  const uint64_t ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - connection->connected_at)
          .count();
  // The counters wrap at 32 bits, as the real ones do.
  stats->dwBytesXmited = static_cast<uint32_t>(entry.send_bps * ms / 1000 + connection->moved_sent);
  stats->dwBytesRcved =
      static_cast<uint32_t>(entry.recv_bps * ms / 1000 + connection->moved_received);
  stats->dwFramesXmited = stats->dwBytesXmited / 1500;
  stats->dwFramesRcved = stats->dwBytesRcved / 1500;
  stats->dwBps = entry.link_speed;
  stats->dwConnectDuration = static_cast<uint32_t>(ms);
  return kSuccess;
}

uint32_t RASSIM_CALL RasConnectionNotificationA(Handle handle, void* event, uint32_t flags) {
  if (!event || flags != kNotifyDisconnection) {
    return kInvalidParameter;
  }
  Engine& engine = TheEngine();
  std::lock_guard lock(engine.mutex);
  const std::shared_ptr<Connection> connection = FindLocked(engine, handle);
  if (!connection) {
    return kInvalidHandle;
  }
  connection->disconnection_events.push_back(event);
  return kSuccess;
}

}  // namespace rassim
