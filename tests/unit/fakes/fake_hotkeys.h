// A system that holds hotkeys in memory and refuses combinations other programs hold.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/hotkeys.h"

class FakeHotKeys : public HotKeys {
 public:
  using Combination = std::pair<unsigned, unsigned>;  // modifiers, key

  bool Register(void*, int id, unsigned modifiers, unsigned key) override {
    calls.push_back("register " + std::to_string(id));
    if (taken_elsewhere.count({modifiers, key}))
      return false;
    held[id] = {modifiers, key};
    return true;
  }
  void Unregister(void*, int id) override {
    calls.push_back("unregister " + std::to_string(id));
    held.erase(id);
  }

  std::map<int, Combination> held;        // what the program holds, by identifier
  std::set<Combination> taken_elsewhere;  // what other programs hold
  std::vector<std::string> calls;
};
