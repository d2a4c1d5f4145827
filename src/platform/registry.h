// Port: the system registry.
#pragma once

#include <cstdint>
#include <string>

enum class RegRoot { CurrentUser, LocalMachine, Users };

enum class RegRead {
  Ok,
  Missing,    // the key or the value does not exist
  WrongType,  // the value exists with another type than the one asked for
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
};
