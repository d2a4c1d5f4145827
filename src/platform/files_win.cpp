// Files beside the executable, through the system's file functions.
#include <windows.h>

#include "platform/win_ports.h"

namespace {

std::string SystemErrorText(DWORD code) {
  char buffer[512] = {};
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                code, 0, buffer, sizeof(buffer), nullptr);
  std::string text(buffer, length);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
    text.pop_back();
  }
  return text.empty() ? "System error " + std::to_string(code) + "." : text;
}

class WinFiles : public Files {
 public:
  std::string ExePath() override {
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length);
  }

  std::string ExeDir() override {
    const std::string path = ExePath();
    return path.substr(0, path.find_last_of("\\/") + 1);
  }

  bool Exists(const std::string& path) override {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  bool Remove(const std::string& path) override { return DeleteFileA(path.c_str()) != 0; }

  bool Append(const std::string& path, const std::string& text, std::string& error) override {
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      error = SystemErrorText(GetLastError());
      return false;
    }
    DWORD written = 0;
    bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
              written == text.size();
    if (!ok)
      error = SystemErrorText(GetLastError());
    CloseHandle(file);
    return ok;
  }
};

}  // namespace

std::unique_ptr<Files> MakeWinFiles() {
  return std::make_unique<WinFiles>();
}
