// The system's automatic dialing pointed at this copy's companion library, or taken back
// from it: the handler in the entries' properties and EnableAutoDial.
#pragma once

#include <string>
#include <vector>

#include "dialup/dialup.h"
#include "platform/files.h"
#include "platform/registry.h"

class AutoDialRegistration {
 public:
  AutoDialRegistration(Registry& registry, Files& files, TDialUp& dialup);

  // On: puts this copy's handler into every entry of the user's own phonebook; another
  // program's handler found there is remembered under the settings key
  // (AutoDialPrevious\<entry>). Off: only an entry whose handler names this copy's library
  // changes, back to the handler remembered for it, else to none. Either way the per-entry
  // values under RemoteAccess\Profile that older versions wrote go where they name this
  // copy's library, and EnableAutoDial is set (a portable copy leaves it alone while off
  // unless it is on). dialup.Entry is as before afterwards. Returns the problems in plain
  // words: each entry that failed is named once, and the others still get their handler.
  std::vector<std::string> Write(bool on);

 private:
  // For the entry in dialup.Entry; each returns its problem, empty when there is none.
  std::string PutHandler(const std::string& entry);
  std::string TakeBackHandler(const std::string& entry);
  std::string RasProblem(const std::string& entry, int code);
  void RemoveOldValues(RegRoot root, const std::string& key);
  void WriteEnableAutoDial(bool on);
  std::string Library() const;

  Registry& registry_;
  Files& files_;
  TDialUp& dialup_;
};
