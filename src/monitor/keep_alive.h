// The keep-alive: an ICMP echo to the connection's server every so many minutes, so an
// idle line is not cut for lack of traffic; with CkbDeadLine its answers tell a line that
// is up but passes nothing.
#pragma once

#include "log/connection_log.h"
#include "ports/main_ports.h"
#include "dialup/dialup.h"
#include "dialup/ping.h"
#include "monitor/dead_line_watch.h"
#include "settings/app_settings.h"

class KeepAlive {
 public:
  KeepAlive(const MainPorts& ports, TDialUp& dialup, const AppSettings& settings,
            ConnectionLog& log);

  // The ticks counted toward the next echo start again, and the watch of the line.
  void Reset();
  // A line came up: it is watched afresh.
  void LineUp() { watch_.Restart(); }
  // Once a second. While CkbPingSrv is on, every UdPingSrv * 60th tick sends an echo to
  // the server, when a connection is up; switching the option off holds the count. A
  // system without ICMP is logged once per run. With CkbDeadLine, true instead of an echo
  // when UdDeadLineEchoes echoes in a row went unanswered and nothing was received since
  // the first of them (see DeadLineWatch).
  bool KeepAlivePing(bool online);

  int PingTickCount() const { return ping_tick_count_; }
  TPing& Ping() { return ping_; }
  const DeadLineWatch& Watch() const { return watch_; }

 private:
  TDialUp& dialup_;
  const AppSettings& settings_;
  ConnectionLog& log_;
  TPing ping_;
  DeadLineWatch watch_;
  int ping_tick_count_ = 0;
  bool no_icmp_logged_ = false;
};
