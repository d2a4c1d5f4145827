// The budget of each connection: a warning when most of it is used, a question when all of
// it is, and no dial beyond it that the user did not agree to.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <utility>

#include "dialing/line_events.h"
#include "log/connection_log.h"
#include "ports/main_ports.h"
#include "profiles/connection_list.h"

// Who starts a dial: the user (Dial button, menu, tray, hotkey), the program (a schedule,
// an automatic-dial request, the start-up dial) or the redial of a dial that failed or of
// a line that dropped.
enum class DialBy { User, Program, Redial };

// The budget of an entry is its profile's Limit against its row's budget counters (the
// billing period's, less the free hours). An entry without a limit, or without a row, is
// never held back, nor is any entry in its free hours.
class BudgetGuard {
 public:
  BudgetGuard(const MainPorts& ports, ConnectionList& connections, ConnectionLog& log,
              LineEvents& events);

  // Whether a dial of `entry` may start. Beyond the budget the user is asked first, and
  // a yes lets the redials of that entry start too, until the user or the program starts
  // another dial; the program's dials and the other redials do not start, and the log
  // says why.
  bool MayDial(const std::string& entry, DialBy by);
  // The line of `entry` came up: the question below may be asked again, unless this is
  // the connect of a dial of that entry the user agreed to take beyond the budget.
  void Connected(const std::string& entry);
  // Once a second while `entry` is online. At 80 % of the budget the log and the tray
  // say so, once per billing period; at 100 % the user is asked whether to hang up, once
  // per connect and again once a new period has started; a clock set back into an earlier
  // period brings neither again. True when the answer is yes.
  bool HangUpNow(const std::string& entry);
  // Whether the budget holds back a dial the program starts of `entry` now.
  bool Exhausted(const std::string& entry);

  static constexpr double kWarnAt = 0.8;

 private:
  struct Usage {
    EntryInfo profile;
    AccountInfo row;
    double used = 0;    // share of the budget
    bool free = false;  // now is in the free hours, which the budget does not count
    int period = 0;     // the billing period's first day
  };
  std::optional<Usage> UsageOf(const std::string& entry);
  void WarnOnce(const Usage& usage);

  MainPorts ports_;
  ConnectionList& connections_;
  ConnectionLog& log_;
  LineEvents& events_;
  // The entry the user agreed to dial beyond its budget (empty for none), the period it
  // was in, while that dial has not connected yet (0 after).
  std::string allowed_;
  int agreed_ = 0;
  // The period in which the question whether to hang up was settled since the line came
  // up; 0 for none.
  int settled_ = 0;
  // Warnings given in this run, should the profile not keep them.
  std::set<std::pair<std::string, int>> warned_;
};
