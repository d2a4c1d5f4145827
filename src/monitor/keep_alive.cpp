// The keep-alive echo.
#include "monitor/keep_alive.h"

KeepAlive::KeepAlive(const MainPorts& ports, TDialUp& dialup, const AppSettings& settings,
                     ConnectionLog& log)
    : dialup_(dialup), settings_(settings), log_(log), ping_(ports.network, ports.clock) {
  ping_.Timeout = 60000;
}

void KeepAlive::KeepAlivePing(bool online) {
  if (!settings_.CkbPingSrv || settings_.UdPingSrv <= 0)
    return;
  ping_tick_count_ = (ping_tick_count_ + 1) % (settings_.UdPingSrv * 60);
  // Without a connection there is no server: the echo would go to the all-ones address.
  if (ping_tick_count_ != 0 || !online)
    return;
  dialup_.GetIPAddresses(dialup_.ConnectionHandle());
  ping_.Hostname = dialup_.ServerIP();
  try {
    ping_.Ping();
  } catch (const EICMPError& e) {
    if (!no_icmp_logged_)
      log_.WriteDialLog(e.what(), LogKind::Error);
    no_icmp_logged_ = true;
  }
}
