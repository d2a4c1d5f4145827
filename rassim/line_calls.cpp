// The entry points on connections: listing them, their status, statistics and addresses,
// and hanging them up. A dial of this process answers for itself until it connects; a
// connected line answers from the store, whichever process dialed it.
#include <algorithm>
#include <cstring>

#include "rassim/connection.h"

namespace rassim {
namespace {

// What RAS knows of a handle: a dial of this process that has not connected, or a line.
struct Known {
  std::shared_ptr<Connection> dial;
  std::optional<Line> line;
};

// Carries out the control file first, so that its commands count for every process.
std::unique_lock<std::mutex> LockAfterControlFile(Engine& engine) {
  ReadControlFile(engine);
  return std::unique_lock(engine.mutex);
}

// Caller holds the mutex.
Known LookLocked(Engine& engine, Handle handle) {
  std::shared_ptr<Connection> own = FindLocked(engine, IdOf(handle));
  if (own && !own->stored) {
    return {own, std::nullopt};
  }
  return {nullptr, CurrentLineLocked(engine, IdOf(handle))};
}

// One row of RasEnumConnectionsA.
RasConn Row(uint64_t id, const std::string& entry, const std::string& device_type,
            const std::string& device, const std::string& phonebook) {
  RasConn row{};
  row.hrasconn = HandleOf(id);
  Put(row.szEntryName, entry);
  Put(row.szDeviceType, device_type);
  Put(row.szDeviceName, device);
  Put(row.szPhonebook, phonebook);
  return row;
}

// Every connection the machine has, in the order they were dialed.
std::vector<RasConn> ListConnections(Engine& engine) {
  std::vector<RasConn> rows;
  auto lock = LockAfterControlFile(engine);
  for (const auto& [id, c] : engine.live) {
    if (!c->stored) {
      const std::string& phonebook = c->entry.phonebook;
      rows.push_back(Row(id, c->entry.name, c->entry.device_type, c->entry.device,
                         phonebook.empty() ? PhonebookPath() : phonebook));
    }
  }
  for (const Line& line : CurrentLinesLocked(engine)) {
    const LineRecord& r = line.record;
    rows.push_back(Row(r.handle, r.entry, r.device_type, r.device, r.phonebook));
  }
  std::ranges::sort(rows, {}, [](const RasConn& row) { return IdOf(row.hrasconn); });
  return rows;
}

// The status RAS reports of a stored line.
void LineStatus(const Line& line, RasConnStatus& status) {
  const bool connected = line.state.phase == Phase::kConnected;
  status.rasconnstate = connected ? kConnected : kDisconnected;
  status.dwError = line.state.phase == Phase::kDropped ? line.state.reason : kSuccess;
  Put(status.szDeviceType, line.record.device_type);
  Put(status.szDeviceName, line.record.device);
  Put(status.szPhoneNumber, line.record.phone_number);
}

void DialStatus(const Connection& connection, RasConnStatus& status) {
  // A dial being hung up shows as disconnected until RAS lets go of it.
  status.rasconnstate = connection.hanging_up ? kDisconnected : connection.state;
  status.dwError = connection.hanging_up ? kSuccess : connection.error;
  Put(status.szDeviceType, connection.entry.device_type);
  Put(status.szDeviceName, connection.entry.device);
  Put(status.szPhoneNumber, connection.phone_number);
}

// The figures of a line that carries data; a dropped line counts nothing.
void LineStatistics(const LineRecord& line, RasStats& stats) {
  const uint64_t now = MachineMs();
  const std::optional<uint64_t> drop = DropTime(line);
  if (drop && *drop <= now) {
    return;
  }
  const uint64_t ms = now - line.connected_at;
  // The counters wrap at 32 bits, as the real ones do.
  stats.dwBytesXmited = static_cast<uint32_t>(line.send_bps * ms / 1000 + line.moved_sent);
  stats.dwBytesRcved = static_cast<uint32_t>(line.recv_bps * ms / 1000 + line.moved_received);
  stats.dwFramesXmited = stats.dwBytesXmited / 1500;
  stats.dwFramesRcved = stats.dwBytesRcved / 1500;
  stats.dwBps = line.link_speed;
  stats.dwConnectDuration = static_cast<uint32_t>(ms);
}

}  // namespace

uint32_t RASSIM_CALL RasEnumConnectionsA(RasConn* connections, uint32_t* cb, uint32_t* count) {
  if (!cb || !count) {
    return kBufferInvalid;
  }
  // Without a buffer the call only tells the size it needs, at the newest level.
  const uint32_t size = connections ? connections->dwSize : sizeof(RasConn);
  if (!Accepts(kConnSizes, size)) {
    return kInvalidSize;
  }
  const std::vector<RasConn> listed = ListConnections(TheEngine());
  const uint32_t needed = static_cast<uint32_t>(listed.size()) * size;
  *count = static_cast<uint32_t>(listed.size());
  if (*cb < needed || (!connections && needed > 0)) {
    *cb = needed;
    return kBufferTooSmall;
  }
  // Each record is the leading part of the newest level, at the caller's size.
  for (size_t i = 0; i < listed.size(); ++i) {
    RasConn row = listed[i];
    row.dwSize = size;
    std::memcpy(reinterpret_cast<unsigned char*>(connections) + i * size, &row, size);
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
  auto lock = LockAfterControlFile(engine);
  const Known known = LookLocked(engine, handle);
  if (known.dial) {
    DialStatus(*known.dial, full);
  } else if (known.line) {
    LineStatus(*known.line, full);
  } else {
    return kInvalidHandle;
  }
  std::memcpy(status, &full, size);
  return kSuccess;
}

// Returns at once; RAS lets go of the handle after the entry's HangUpDelayMs.
uint32_t RASSIM_CALL RasHangUpA(Handle handle) {
  Engine& engine = TheEngine();
  auto lock = LockAfterControlFile(engine);
  Known known = LookLocked(engine, handle);
  if (known.dial) {
    HangUpDialLocked(engine, known.dial);
  } else if (!known.line) {
    return kInvalidHandle;
  } else if (known.line->state.phase != Phase::kHangingUp) {
    known.line->record.hung_up_at = MachineMs();
    StoreLocked(engine, known.line->record);
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
  auto lock = LockAfterControlFile(engine);
  const Known known = LookLocked(engine, handle);
  if (!known.dial && !known.line) {
    return kInvalidHandle;
  }
  if (known.dial || known.line->state.phase != Phase::kConnected) {
    return kProjectionNotComplete;
  }
  RasPppIp full{};
  full.dwSize = size;
  Put(full.szIpAddress, known.line->record.client_ip);
  Put(full.szServerIpAddress, known.line->record.server_ip);
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
  auto lock = LockAfterControlFile(engine);
  const Known known = LookLocked(engine, handle);
  if (!known.dial && !known.line) {
    return kInvalidHandle;
  }
  *stats = RasStats{};
  stats->dwSize = sizeof(RasStats);
  if (known.line) {
    LineStatistics(known.line->record, *stats);
  }
  return kSuccess;
}

}  // namespace rassim
