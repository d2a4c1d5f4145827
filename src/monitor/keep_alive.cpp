// The keep-alive echo.
#include "monitor/keep_alive.h"

KeepAlive::KeepAlive(const MainPorts& ports, TDialUp& dialup, const AppSettings& settings,
                     ConnectionLog& log)
    : dialup_(dialup), settings_(settings), log_(log), ping_(ports.network, ports.clock) {
  ping_.Timeout = 60000;
  ping_.OnPing = [this](TPing&, uint32_t status, uint32_t, uint32_t) {
    if (status != 0)
      return;
    // Said once a connection: from here on, silence on the line counts toward a dead one.
    if (!watch_.Armed() && settings_.CkbDeadLine && settings_.CkbDetailedLog)
      log_.WriteDialLog("The server answers the keep-alive: the dead-line watch is armed.",
                        LogKind::Message);
    watch_.Answered();
  };
}

void KeepAlive::Reset() {
  ping_tick_count_ = 0;
  watch_.Restart();
}

bool KeepAlive::KeepAlivePing(bool online) {
  if (!settings_.CkbPingSrv || settings_.UdPingSrv <= 0)
    return false;
  ping_tick_count_ = (ping_tick_count_ + 1) % (settings_.UdPingSrv * 60);
  // Without a connection there is no server: the echo would go to the all-ones address.
  if (ping_tick_count_ != 0 || !online)
    return false;
  if (watch_.EchoDue(dialup_.BytesRecv(), settings_.CkbDeadLine ? settings_.UdDeadLineEchoes : 0))
    return true;
  dialup_.GetIPAddresses(dialup_.ConnectionHandle());
  ping_.Hostname = dialup_.ServerIP();
  try {
    ping_.Ping();
  } catch (const EICMPError& e) {
    if (!no_icmp_logged_)
      log_.WriteDialLog(e.what(), LogKind::Error);
    no_icmp_logged_ = true;
  }
  return false;
}
