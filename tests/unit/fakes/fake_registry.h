// An in-memory registry that records the order of reads and writes and can refuse writes.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/registry.h"

class FakeRegistry : public Registry {
 public:
  enum class Type { Dword, Sz, Binary };
  struct Value {
    Type type;
    uint32_t number = 0;
    std::string bytes;  // the text or the binary data
    bool operator==(const Value&) const = default;
  };
  using KeyId = std::pair<RegRoot, std::string>;

  bool CreateKey(RegRoot root, const std::string& key) override {
    if (keys.count({root, key}))
      return true;
    if (refused.count(root))
      return false;
    keys[{root, key}];
    return true;
  }

  RegRead ReadInt(RegRoot root, const std::string& key, const std::string& name,
                  uint32_t& value) override {
    reads.push_back(name);
    const Value* found = Find(root, key, name);
    if (!found)
      return RegRead::Missing;
    if (found->type != Type::Dword)
      return RegRead::WrongType;
    value = found->number;
    return RegRead::Ok;
  }

  RegRead ReadText(RegRoot root, const std::string& key, const std::string& name,
                   std::string& value) override {
    reads.push_back(name);
    const Value* found = Find(root, key, name);
    if (!found)
      return RegRead::Missing;
    if (found->type != Type::Sz)
      return RegRead::WrongType;
    value = found->bytes;
    return RegRead::Ok;
  }

  bool WriteInt(RegRoot root, const std::string& key, const std::string& name,
                uint32_t value) override {
    return Store(root, key, name, {Type::Dword, value, {}});
  }

  bool WriteText(RegRoot root, const std::string& key, const std::string& name,
                 const std::string& value) override {
    // Like the system's, a text ends at its first NUL.
    return Store(root, key, name, {Type::Sz, 0, value.substr(0, value.find('\0'))});
  }

  bool WriteBinary(RegRoot root, const std::string& key, const std::string& name,
                   const std::string& bytes) override {
    return Store(root, key, name, {Type::Binary, 0, bytes});
  }

  bool ValueExists(RegRoot root, const std::string& key, const std::string& name) override {
    return Find(root, key, name) != nullptr;
  }

  bool DeleteValue(RegRoot root, const std::string& key, const std::string& name) override {
    if (!Find(root, key, name))
      return true;
    if (refused.count(root))
      return false;
    keys[{root, key}].erase(name);
    return true;
  }

  // The value, or null when the key or the value is missing.
  const Value* Find(RegRoot root, const std::string& key, const std::string& name) const {
    auto k = keys.find({root, key});
    if (k == keys.end())
      return nullptr;
    auto v = k->second.find(name);
    return v == k->second.end() ? nullptr : &v->second;
  }

  std::map<KeyId, std::map<std::string, Value>> keys;
  std::set<RegRoot> refused;        // roots where nothing may be created, changed or deleted
  std::vector<std::string> reads;   // value names, in the order read
  std::vector<std::string> writes;  // value names, in the order written

 private:
  bool Store(RegRoot root, const std::string& key, const std::string& name, Value value) {
    if (refused.count(root))
      return false;
    writes.push_back(name);
    keys[{root, key}][name] = std::move(value);
    return true;
  }
};
