// The system's automatic dialing pointed at this program's companion library, or taken
// away from it: the handler in the entries' properties, the older per-entry registry
// values and EnableAutoDial.
#pragma once

#include <string>
#include <vector>

#include "dialup/dialup.h"
#include "platform/files.h"
#include "platform/registry.h"

class AutoDialRegistration {
 public:
  AutoDialRegistration(Registry& registry, Files& files, TDialUp& dialup);

  // Writes (`on`) or removes the registration of every entry RAS lists, in the user's own
  // keys only, and the handler in the properties of every entry of the user's own
  // phonebook (off takes back only a handler naming this program's library), then sets
  // EnableAutoDial (a portable copy leaves it alone while off unless it is on). dialup.Entry is as
  // before afterwards. Returns the problems in plain words, each once.
  std::vector<std::string> Write(bool on);

 private:
  // False when the user's own key refused the values.
  bool WriteValues(const std::string& key, bool on);
  void RemoveValues(RegRoot root, const std::string& key);
  // Sets or clears the handler in dialup.Entry's properties; RAS's code.
  int WriteHandler(bool on);

  Registry& registry_;
  Files& files_;
  TDialUp& dialup_;
};
