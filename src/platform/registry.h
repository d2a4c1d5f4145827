// Port: the system registry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// DynData is the consumer family's dynamic-data root, where line statistics live there.
enum class RegRoot { CurrentUser, LocalMachine, Users, DynData };

enum class RegRead {
  Ok,
  Missing,    // the key or the value does not exist
  WrongType,  // the value exists with another type than the one asked for
  MoreData,   // the data did not fit the size offered
};

// Key paths use backslashes ("Software\\Tarvolin"). Writes create missing keys.
class Registry {
 public:
  virtual ~Registry() = default;
  // Opens the key, creating it when missing; false when that is not possible.
  virtual bool CreateKey(RegRoot root, const std::string& key) = 0;
  virtual RegRead ReadInt(RegRoot root, const std::string& key, const std::string& name,
                          uint32_t& value) = 0;  // REG_DWORD
  virtual RegRead ReadText(RegRoot root, const std::string& key, const std::string& name,
                           std::string& value) = 0;  // REG_SZ
  virtual bool WriteInt(RegRoot root, const std::string& key, const std::string& name,
                        uint32_t value) = 0;
  virtual bool WriteText(RegRoot root, const std::string& key, const std::string& name,
                         const std::string& value) = 0;
  virtual bool WriteBinary(RegRoot root, const std::string& key, const std::string& name,
                           const std::string& bytes) = 0;
  virtual bool ValueExists(RegRoot root, const std::string& key, const std::string& name) = 0;
  // True when the value is gone afterwards, also when it never existed.
  virtual bool DeleteValue(RegRoot root, const std::string& key, const std::string& name) = 0;
  // Deletes a key that has no sub-keys; true when it is gone afterwards, also when it never
  // existed.
  virtual bool DeleteKey(RegRoot root, const std::string& key) = 0;
  // Whether the key opens for reading.
  virtual bool KeyExists(RegRoot root, const std::string& key) = 0;
  // The names of the key's direct sub-keys; none when it does not open.
  virtual std::vector<std::string> SubKeys(RegRoot root, const std::string& key) = 0;
  // The value's bytes, whatever its type.
  virtual RegRead ReadBytes(RegRoot root, const std::string& key, const std::string& name,
                            std::string& bytes) = 0;
  // The performance data of the objects named (such as "906"), asked for with room for
  // `size` bytes: MoreData when they do not fit, Missing when the system has none.
  virtual RegRead ReadPerformanceData(const std::string& objects, size_t size,
                                      std::string& bytes) = 0;
};
