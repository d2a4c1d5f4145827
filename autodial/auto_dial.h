// The companion library's answer to the system's automatic dialing: it hands the entry to
// Tarvolin by name and learns the outcome from RAS, never dialing itself.
#pragma once

#include <cstdint>
#include <string>

#include "dialup/ras_api.h"

// What the companion needs of the machine; the library's Win32 side is one, tests fake it.
class CompanionHost {
 public:
  enum class Reply { NoProgram, Refused, Taken, Online, Declined };

  virtual ~CompanionHost() = default;
  // Sends the entry's name to the running program: NoProgram when it has no main window,
  // Refused when it does not know the entry or could not be reached, Taken when it dials
  // the entry, Online when the entry is online already, Declined when it will not dial
  // (another line, the budget or the user).
  virtual Reply SendDialRequest(const std::string& entry) = 0;
  // Starts the program beside the library; false when it could not be started.
  virtual bool StartProgram() = 0;
  // Whether RAS has a connection of this entry that is connected.
  virtual bool EntryConnected(const std::string& entry) = 0;
  // A clock in milliseconds that never goes back (not the time of day).
  virtual uint64_t NowMs() = 0;
  // Lets about `ms` pass while the caller's messages keep running.
  virtual void Wait(unsigned ms) = 0;
};

// The system's answer: `handled` false lets the system use its own dialer; otherwise
// `code` is 0 for a connection, kAutoDialTimedOut or kAutoDialCancelled.
struct AutoDialAnswer {
  bool handled = false;
  uint32_t code = 0;
};

constexpr uint64_t kAutoDialLimitMs = 2 * 60 * 1000;
constexpr unsigned kAutoDialPollMs = 250;
constexpr uint32_t kAutoDialTimedOut = 1460;   // the system's "timeout period expired"
constexpr uint32_t kAutoDialCancelled = 1223;  // "cancelled by the user": the system dials not

// Hands `entry` to the program (starting it when it does not run) and waits, at most
// kAutoDialLimitMs from the call, for RAS to report the entry connected. An entry online
// already is answered at once, as is one the program declines (kAutoDialCancelled, so
// that the system does not dial past it). A program that cannot be started or reached in
// that time, or does not know the entry, leaves it unhandled.
AutoDialAnswer HandleAutoDial(CompanionHost& host, const std::string& entry);

// Whether RAS lists a connection of `entry` (exact name) in the connected state. A RAS
// that cannot be bound or listed has none.
bool RasEntryConnected(RasApi& ras, const std::string& entry);
