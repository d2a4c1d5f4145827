// Files beside the executable, through the system's file functions.
#include <windows.h>

#include <vector>

#include "platform/win_helpers.h"
#include "platform/win_ports.h"

namespace {

// Large enough that a big file is read in few calls, small enough to stay in the cache.
constexpr DWORD kPieceSize = 256 * 1024;

// Puts the reason for the last failed call in `error`; always false.
bool Failed(std::string& error) {
  error = SystemErrorText(GetLastError());
  return false;
}

bool WriteAll(HANDLE file, const std::string& text, std::string& error) {
  DWORD written = 0;
  if (!WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
      written != text.size()) {
    return Failed(error);
  }
  return true;
}

// Whether the file is empty or its last character ends a line. Reading moves the file
// pointer, which an append ignores.
bool EndsLine(HANDLE file) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size) || size.QuadPart == 0)
    return true;
  LARGE_INTEGER last{};
  last.QuadPart = size.QuadPart - 1;
  char c = '\n';
  DWORD got = 0;
  return !SetFilePointerEx(file, last, nullptr, FILE_BEGIN) ||
         !ReadFile(file, &c, 1, &got, nullptr) || got != 1 || c == '\n';
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
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | FILE_APPEND_DATA,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
      return Failed(error);
    const bool ok = WriteAll(file, text.empty() || EndsLine(file) ? text : "\r\n" + text, error) &&
                    (FlushFileBuffers(file) || Failed(error));
    CloseHandle(file);
    return ok;
  }

  bool ReadPieces(const std::string& path, const Piece& piece, std::string& error) override {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      const DWORD code = GetLastError();
      const bool missing = code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND;
      error = missing ? std::string() : SystemErrorText(code);
      return false;
    }
    std::vector<char> buffer(kPieceSize);
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer.data(), kPieceSize, &got, nullptr)) && got > 0) {
      piece(std::string_view(buffer.data(), got));
    }
    if (!ok)
      Failed(error);
    CloseHandle(file);
    return ok;
  }

  bool ReplaceWhole(const std::string& path, const std::string& text, std::string& error) override {
    const std::string part = path + ".new";
    HANDLE file = CreateFileA(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
      return Failed(error);
    bool ok = WriteAll(file, text, error);
    if (ok && !FlushFileBuffers(file))
      ok = Failed(error);
    CloseHandle(file);
    if (ok && !MoveFileExA(part.c_str(), path.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      ok = Failed(error);
    if (!ok)
      DeleteFileA(part.c_str());
    return ok;
  }
};

}  // namespace

std::unique_ptr<Files> MakeWinFiles() {
  return std::make_unique<WinFiles>();
}
