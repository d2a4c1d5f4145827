// Simulated dials: one worker thread per connection walks the dial steps, then follows the
// connected line until it ends. A hang-up during a dial, like a modem's, completes in the
// background on a thread of its own.
#include <algorithm>
#include <chrono>
#include <optional>

#include "rassim/connection.h"

namespace rassim {
namespace {

using Clock = std::chrono::steady_clock;

constexpr uint32_t kDialSteps[] = {
    kOpenPort,     kPortOpened,    kConnectDevice, kDeviceConnected, kAllDevicesConnected,
    kAuthenticate, kAuthenticated, kConnected};

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

// Waits until `deadline` or until the connection is ending, reading the control file
// meanwhile.
void Pause(Engine& engine, const Connection& connection, Clock::time_point deadline) {
  std::unique_lock lock(engine.mutex);
  while (!Ending(connection) && Clock::now() < deadline) {
    const Clock::time_point slice = std::min(deadline, Clock::now() + kLookEvery);
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

LineRecord RecordOf(const Connection& connection) {
  const EntrySettings& entry = connection.entry;
  LineRecord line;
  line.handle = connection.id;
  line.entry = entry.name;
  line.phonebook = entry.phonebook.empty() ? PhonebookPath() : entry.phonebook;
  line.phone_number = connection.phone_number;
  line.device = entry.device;
  line.device_type = entry.device_type;
  line.server_ip = entry.server_ip;
  line.client_ip = entry.client_ip;
  line.connected_at = MachineMs();
  line.drop_after_s = entry.drop_after_s;
  line.drop_linger_ms = entry.drop_linger_ms;
  line.hang_up_delay_ms = entry.hang_up_delay_ms;
  line.link_speed = entry.link_speed;
  line.send_bps = entry.send_bps;
  line.recv_bps = entry.recv_bps;
  return line;
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
    connection.stored = true;
    WriteLine(RecordOf(connection));
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

// How long the line's state stays as it is, at most one look's time.
Clock::duration Unchanged(const Line& line) {
  const uint64_t now = MachineMs();
  const uint64_t poll = std::chrono::milliseconds(kLookEvery).count();
  const std::optional<uint64_t> next = NextChange(line.record, now);
  return std::chrono::milliseconds(next ? std::min(poll, *next - now) : poll);
}

// Follows the connected line until it ends, whoever ends it: a hang-up or a drop from any
// process, DropAfter, or the control file.
void Watch(Engine& engine, Connection& connection) {
  std::unique_lock lock(engine.mutex);
  for (;;) {
    const std::optional<Line> line = CurrentLineLocked(engine, connection.id);
    if (!line || connection.gone) {
      return;
    }
    engine.changed.wait_for(lock, Unchanged(*line));
    lock.unlock();
    ReadControlFile(engine);
    lock.lock();
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

// Gives the connection its handle and, with `dial`, starts its worker; 0 or the code of
// the failure.
uint32_t Start(Engine& engine, const std::shared_ptr<Connection>& connection, bool dial) {
  connection->id = NewHandle();
  std::lock_guard lock(engine.mutex);
  if (connection->id == 0 ||
      (dial && !StartWorkerLocked(engine, [&engine, connection] { Dial(engine, *connection); }))) {
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

// Completes a hang-up during a dial once the entry's delay has passed; until then RAS
// still knows the handle.
void Release(Engine& engine, Connection& connection) {
  std::unique_lock lock(engine.mutex);
  const auto delay = std::chrono::milliseconds(connection.entry.hang_up_delay_ms);
  engine.changed.wait_for(lock, delay, [&] { return connection.gone; });
  EndLocked(engine, connection, kUserDisconnection);
}

}  // namespace

// Caller holds the mutex. Hangs up a dial that has not connected.
void HangUpDialLocked(Engine& engine, const std::shared_ptr<Connection>& connection) {
  if (connection->hanging_up) {
    return;
  }
  connection->hanging_up = true;
  engine.changed.notify_all();
  if (connection->entry.hang_up_delay_ms == 0 ||
      !StartWorkerLocked(engine, [&engine, connection] { Release(engine, *connection); })) {
    EndLocked(engine, *connection, kUserDisconnection);
  }
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
  *handle = HandleOf(connection->id);
  if (refused) {
    return entry->refuse_code;
  }
  return notifier ? kSuccess : AwaitDial(engine, *connection);
}

}  // namespace rassim
