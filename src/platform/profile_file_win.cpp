// Profile (INI) files through the system's private-profile-string functions.
#include <windows.h>

#include <vector>

#include "platform/win_ports.h"

namespace {

constexpr DWORD kFirstBufferSize = 1024;

std::vector<std::string> SplitNulList(const char* list, DWORD length) {
  std::vector<std::string> names;
  for (DWORD at = 0; at < length;) {
    names.emplace_back(list + at);
    at += static_cast<DWORD>(names.back().size()) + 1;
  }
  return names;
}

class WinProfileFile : public ProfileFile {
 public:
  std::string Read(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& fallback) override {
    // The system cuts a value that does not fit and then reports the buffer's size less
    // one; growing until it fits keeps long values (joined phone lists) whole.
    for (std::vector<char> buffer(kFirstBufferSize);; buffer.resize(buffer.size() * 2)) {
      const DWORD length =
          GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer.data(),
                                   static_cast<DWORD>(buffer.size()), file.c_str());
      if (length + 1 < buffer.size()) {
        return std::string(buffer.data(), length);
      }
    }
  }

  std::vector<std::string> Sections(const std::string& file) override {
    // The names come as a list of strings each ended by a NUL, the list by one more; the
    // system reports the buffer's size less two when they do not fit.
    for (std::vector<char> buffer(kFirstBufferSize);; buffer.resize(buffer.size() * 2)) {
      const DWORD length = GetPrivateProfileSectionNamesA(
          buffer.data(), static_cast<DWORD>(buffer.size()), file.c_str());
      if (length + 2 < buffer.size())
        return SplitNulList(buffer.data(), length);
    }
  }

  bool Write(const std::string& file, const std::string& section, const std::string& key,
             const std::string& value) override {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) !=
           0;
  }

  bool DeleteSection(const std::string& file, const std::string& section) override {
    return WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, file.c_str()) != 0;
  }
};

}  // namespace

std::unique_ptr<ProfileFile> MakeWinProfileFile() {
  return std::make_unique<WinProfileFile>();
}
