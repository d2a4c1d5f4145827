// tvndl.dll: the system's automatic-dial handler. It asks Tarvolin, by the entry's name,
// to dial, and watches RAS for the outcome. It never dials, holds no password and writes
// no file.
#include <windows.h>

// The handler's parameters are <ras.h>'s own RASADPARAMS, so their layout is RAS's.
#include <ras.h>

#include <memory>
#include <string>

#include "autodial/auto_dial.h"
#include "platform/dial_request.h"
#include "platform/win_ports.h"

namespace {

// How long the program may take over one request before it counts as unreachable.
constexpr UINT kSendTimeoutMs = 30000;

std::wstring LibraryFolder() {
  HMODULE self = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&LibraryFolder), &self);
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(self, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0)
      return L"";
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(L'\\') + 1);
}

class WinCompanionHost : public CompanionHost {
 public:
  ~WinCompanionHost() override {
    // A quit met while waiting belongs to the caller's loop.
    if (quit_)
      PostQuitMessage(quit_code_);
  }

  Reply SendDialRequest(const std::string& entry) override {
    HWND window = FindWindowA(kMainWindowClass, nullptr);
    if (!window)
      return Reply::NoProgram;
    COPYDATASTRUCT data{};
    data.dwData = kDialRequestTag;
    data.cbData = static_cast<DWORD>(entry.size());
    data.lpData = const_cast<char*>(entry.data());
    DWORD_PTR answer = FALSE;
    const LRESULT sent =
        SendMessageTimeoutA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                            SMTO_ABORTIFHUNG, kSendTimeoutMs, &answer);
    if (!sent)
      return Reply::Refused;
    switch (answer) {
      case kDialRequestDialing:
        return Reply::Taken;
      case kDialRequestOnline:
        return Reply::Online;
      case kDialRequestDeclined:
        return Reply::Declined;
      default:
        return Reply::Refused;
    }
  }

  // Only the program beside the library, by its full path: no search.
  bool StartProgram() override {
    const std::wstring folder = LibraryFolder();
    if (folder.empty())
      return false;
    std::wstring program = folder + L"tarvolin.exe";
    std::wstring command = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &info))
      return false;
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return true;
  }

  bool EntryConnected(const std::string& entry) override { return RasEntryConnected(ras_, entry); }

  uint64_t NowMs() override { return GetTickCount64(); }

  void Wait(unsigned ms) override {
    const uint64_t until = GetTickCount64() + ms;
    for (uint64_t now = GetTickCount64(); now < until; now = GetTickCount64()) {
      const DWORD left = static_cast<DWORD>(until - now);
      if (quit_) {
        Sleep(left);
        continue;
      }
      MsgWaitForMultipleObjectsEx(0, nullptr, left, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
      MSG msg;
      while (!quit_ && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
          quit_ = true;
          quit_code_ = static_cast<int>(msg.wParam);
          break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
  }

 private:
  std::unique_ptr<LibraryLoader> loader_ = MakeWinLibraryLoader();
  RasApi ras_{*loader_};
  bool quit_ = false;
  int quit_code_ = 0;
};

// Nothing may escape into the system's caller: a failure leaves the dial to the system.
BOOL Answer(const char* entry, LPDWORD ret_code) {
  if (!entry || !ret_code)
    return FALSE;
  try {
    WinCompanionHost host;
    const AutoDialAnswer answer = HandleAutoDial(host, entry);
    if (answer.handled)
      *ret_code = answer.code;
    return answer.handled ? TRUE : FALSE;
  } catch (...) {
    return FALSE;
  }
}

std::string Narrow(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0)
    return "";
  std::string narrow(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.data(), size, nullptr, nullptr);
  narrow.resize(static_cast<size_t>(size - 1));
  return narrow;
}

}  // namespace

extern "C" {

BOOL WINAPI RASADFuncA(LPSTR, LPSTR entry, LPRASADPARAMS, LPDWORD ret_code) {
  return Answer(entry, ret_code);
}

BOOL WINAPI RASADFuncW(LPWSTR, LPWSTR entry, LPRASADPARAMS, LPDWORD ret_code) {
  return entry ? Answer(Narrow(entry).c_str(), ret_code) : FALSE;
}

}  // extern "C"
