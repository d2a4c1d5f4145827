// The companion's request and wait, apart from Win32 so that tests can drive the clock.
#include "autodial/auto_dial.h"

#include <vector>

#include "dialup/ras_fields.h"

AutoDialAnswer HandleAutoDial(CompanionHost& host, const std::string& entry) {
  if (entry.empty())
    return {};
  const uint64_t deadline = host.NowMs() + kAutoDialLimitMs;
  CompanionHost::Reply reply = host.SendDialRequest(entry);
  if (reply == CompanionHost::Reply::NoProgram) {
    if (!host.StartProgram())
      return {};
    // The program shows its main window only after its welcome window.
    while (reply == CompanionHost::Reply::NoProgram && host.NowMs() < deadline) {
      host.Wait(kAutoDialPollMs);
      reply = host.SendDialRequest(entry);
    }
  }
  if (reply == CompanionHost::Reply::Online)
    return {true, 0};
  if (reply == CompanionHost::Reply::Declined)
    return {true, kAutoDialCancelled};
  if (reply != CompanionHost::Reply::Taken)
    return {};
  while (!host.EntryConnected(entry)) {
    if (host.NowMs() >= deadline)
      return {true, kAutoDialTimedOut};
    host.Wait(kAutoDialPollMs);
  }
  return {true, 0};
}

bool RasEntryConnected(RasApi& ras, const std::string& entry) {
  try {
    std::vector<TRasConn> rows(4);
    uint32_t count = 0;
    for (;;) {
      rows[0].dwSize = kRasConnSize;
      uint32_t cb = static_cast<uint32_t>(rows.size()) * kRasConnSize;
      const uint32_t result = ras.RasEnumConnectionsA(rows.data(), &cb, &count);
      if (result == kRasBufferTooSmall && cb / kRasConnSize > rows.size()) {
        rows.resize(cb / kRasConnSize);
        continue;
      }
      if (result != kRasSuccess)
        return false;
      break;
    }
    for (uint32_t i = 0; i < count && i < rows.size(); ++i) {
      if (FieldText(rows[i].szEntryName) != entry)
        continue;
      TRasConnStatusA status{};
      status.dwSize = kRasConnStatusSize;
      if (ras.RasGetConnectStatusA(rows[i].hrasconn, &status) == kRasSuccess &&
          status.rasconnstate == kRasConnected && status.dwError == kRasSuccess)
        return true;
    }
  } catch (const ERasError&) {
  }
  return false;
}
