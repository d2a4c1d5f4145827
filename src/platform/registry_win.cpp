// The system registry, through the ANSI registry functions.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/win_ports.h"

namespace {

HKEY RootKey(RegRoot root) {
  switch (root) {
    case RegRoot::LocalMachine:
      return HKEY_LOCAL_MACHINE;
    case RegRoot::Users:
      return HKEY_USERS;
    case RegRoot::DynData:
      return HKEY_DYN_DATA;
    case RegRoot::CurrentUser:
      break;
  }
  return HKEY_CURRENT_USER;
}

// An open key, closed when it goes out of scope; empty when opening failed.
class Key {
 public:
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  ~Key() {
    if (handle_)
      RegCloseKey(handle_);
  }

  static Key Open(RegRoot root, const std::string& path, REGSAM access) {
    Key key;
    key.status_ = RegOpenKeyExA(RootKey(root), path.c_str(), 0, access, &key.handle_);
    return key;
  }

  static Key Create(RegRoot root, const std::string& path, REGSAM access) {
    Key key;
    key.status_ = RegCreateKeyExA(RootKey(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  access, nullptr, &key.handle_, nullptr);
    return key;
  }

  explicit operator bool() const { return status_ == ERROR_SUCCESS; }
  HKEY handle() const { return handle_; }
  LONG status() const { return status_; }

 private:
  Key() = default;
  Key(Key&& other) noexcept : handle_(other.handle_), status_(other.status_) {
    other.handle_ = nullptr;
  }

  HKEY handle_ = nullptr;
  LONG status_ = ERROR_INVALID_HANDLE;
};

class WinRegistry : public Registry {
 public:
  bool CreateKey(RegRoot root, const std::string& key) override {
    return static_cast<bool>(Key::Create(root, key, KEY_READ));
  }

  RegRead ReadInt(RegRoot root, const std::string& key, const std::string& name,
                  uint32_t& value) override {
    std::string data;
    RegRead result = Query(root, key, name, REG_DWORD, data);
    if (result != RegRead::Ok)
      return result;
    if (data.size() != sizeof(DWORD))
      return RegRead::WrongType;
    DWORD number = 0;
    memcpy(&number, data.data(), sizeof(number));
    value = number;
    return RegRead::Ok;
  }

  RegRead ReadText(RegRoot root, const std::string& key, const std::string& name,
                   std::string& value) override {
    std::string data;
    RegRead result = Query(root, key, name, REG_SZ, data);
    if (result == RegRead::Ok)
      value = data.substr(0, data.find('\0'));  // the stored NUL may be missing
    return result;
  }

  bool WriteInt(RegRoot root, const std::string& key, const std::string& name,
                uint32_t value) override {
    DWORD number = value;
    return Set(root, key, name, REG_DWORD, &number, sizeof(number));
  }

  bool WriteText(RegRoot root, const std::string& key, const std::string& name,
                 const std::string& value) override {
    return Set(root, key, name, REG_SZ, value.c_str(), value.size() + 1);
  }

  bool WriteBinary(RegRoot root, const std::string& key, const std::string& name,
                   const std::string& bytes) override {
    return Set(root, key, name, REG_BINARY, bytes.data(), bytes.size());
  }

  bool ValueExists(RegRoot root, const std::string& key, const std::string& name) override {
    Key opened = Key::Open(root, key, KEY_QUERY_VALUE);
    return opened && RegQueryValueExA(opened.handle(), name.c_str(), nullptr, nullptr, nullptr,
                                      nullptr) == ERROR_SUCCESS;
  }

  bool DeleteValue(RegRoot root, const std::string& key, const std::string& name) override {
    Key opened = Key::Open(root, key, KEY_SET_VALUE);
    if (!opened)
      return opened.status() == ERROR_FILE_NOT_FOUND;
    LONG status = RegDeleteValueA(opened.handle(), name.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
  }

  bool DeleteKey(RegRoot root, const std::string& key) override {
    const LONG status = RegDeleteKeyA(RootKey(root), key.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
  }

  bool KeyExists(RegRoot root, const std::string& key) override {
    return static_cast<bool>(Key::Open(root, key, KEY_READ));
  }

  std::vector<std::string> SubKeys(RegRoot root, const std::string& key) override {
    std::vector<std::string> names;
    Key opened = Key::Open(root, key, KEY_ENUMERATE_SUB_KEYS);
    char name[256];
    for (DWORD i = 0; opened; ++i) {
      DWORD length = sizeof(name);
      if (RegEnumKeyExA(opened.handle(), i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
          ERROR_SUCCESS)
        break;
      names.emplace_back(name, length);
    }
    return names;
  }

  RegRead ReadBytes(RegRoot root, const std::string& key, const std::string& name,
                    std::string& bytes) override {
    return Query(root, key, name, std::nullopt, bytes);
  }

  RegRead ReadPerformanceData(const std::string& objects, size_t size,
                              std::string& bytes) override {
    bytes.assign(size, '\0');
    DWORD length = static_cast<DWORD>(size);
    const LONG status = RegQueryValueExA(HKEY_PERFORMANCE_DATA, objects.c_str(), nullptr, nullptr,
                                         reinterpret_cast<BYTE*>(bytes.data()), &length);
    RegCloseKey(HKEY_PERFORMANCE_DATA);
    if (status == ERROR_MORE_DATA)
      return RegRead::MoreData;
    if (status != ERROR_SUCCESS)
      return RegRead::Missing;
    bytes.resize(std::min<size_t>(length, size));
    return RegRead::Ok;
  }

 private:
  // The value's bytes when it has the expected type, or any type when none is expected.
  static RegRead Query(RegRoot root, const std::string& key, const std::string& name,
                       std::optional<DWORD> expected_type, std::string& data) {
    Key opened = Key::Open(root, key, KEY_QUERY_VALUE);
    if (!opened)
      return RegRead::Missing;
    DWORD type = 0;
    DWORD size = 0;
    LONG status = RegQueryValueExA(opened.handle(), name.c_str(), nullptr, &type, nullptr, &size);
    while (status == ERROR_SUCCESS && type == expected_type.value_or(type)) {
      data.assign(size, '\0');
      status = RegQueryValueExA(opened.handle(), name.c_str(), nullptr, &type,
                                reinterpret_cast<BYTE*>(data.data()), &size);
      if (status != ERROR_MORE_DATA)
        break;
      status = ERROR_SUCCESS;  // it grew after its size was asked: ask again
    }
    if (status != ERROR_SUCCESS)
      return RegRead::Missing;
    if (type != expected_type.value_or(type))
      return RegRead::WrongType;
    data.resize(size);
    return RegRead::Ok;
  }

  static bool Set(RegRoot root, const std::string& key, const std::string& name, DWORD type,
                  const void* data, size_t size) {
    Key opened = Key::Create(root, key, KEY_SET_VALUE);
    return opened &&
           RegSetValueExA(opened.handle(), name.c_str(), 0, type, static_cast<const BYTE*>(data),
                          static_cast<DWORD>(size)) == ERROR_SUCCESS;
  }
};

}  // namespace

std::unique_ptr<Registry> MakeWinRegistry() {
  return std::make_unique<WinRegistry>();
}
