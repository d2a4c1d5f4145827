// An in-memory registry that records the order of reads and writes and can refuse writes.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
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

  // A key exists also as the parent of one that does, as the system creates parents.
  bool DeleteKey(RegRoot root, const std::string& key) override {
    if (!keys.count({root, key}))
      return true;
    if (refused.count(root))
      return false;
    keys.erase({root, key});
    return true;
  }

  bool KeyExists(RegRoot root, const std::string& key) override {
    for (const auto& [id, values] : keys) {
      if (id.first == root && (id.second == key || id.second.starts_with(key + "\\")))
        return true;
    }
    return false;
  }

  std::vector<std::string> SubKeys(RegRoot root, const std::string& key) override {
    std::vector<std::string> names;
    const std::string prefix = key + "\\";
    for (const auto& [id, values] : keys) {
      const std::string& path = id.second;
      if (id.first == root && path.starts_with(prefix) &&
          path.find('\\', prefix.size()) == std::string::npos)
        names.push_back(path.substr(prefix.size()));
    }
    return names;
  }

  RegRead ReadBytes(RegRoot root, const std::string& key, const std::string& name,
                    std::string& bytes) override {
    const Value* found = Find(root, key, name);
    if (!found)
      return RegRead::Missing;
    bytes = found->type == Type::Dword
                ? std::string(reinterpret_cast<const char*>(&found->number), sizeof(uint32_t))
                : found->bytes;
    return RegRead::Ok;
  }

  RegRead ReadPerformanceData(const std::string& objects, size_t size,
                              std::string& bytes) override {
    performance_sizes.push_back(size);
    if (objects != "906" || !performance_data)
      return RegRead::Missing;
    if (performance_data->size() > size)
      return RegRead::MoreData;
    bytes = *performance_data;
    return RegRead::Ok;
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
  // What the system answers for the RAS object's performance data, and the sizes asked.
  std::optional<std::string> performance_data;
  std::vector<size_t> performance_sizes;

 private:
  bool Store(RegRoot root, const std::string& key, const std::string& name, Value value) {
    if (refused.count(root))
      return false;
    writes.push_back(name);
    keys[{root, key}][name] = std::move(value);
    return true;
  }
};
