// One HTTP GET through WinHTTP, run off the UI thread while the UI thread keeps processing
// messages, so that the window stays responsive however slow the server is.
#include <windows.h>
#include <winhttp.h>

#include <thread>

#include "platform/win_ports.h"

namespace {

// A version file is a few hundred bytes; anything much larger is not one.
constexpr size_t kMostBytes = 1 << 20;

struct InternetHandle {
  HINTERNET handle;
  ~InternetHandle() {
    if (handle)
      WinHttpCloseHandle(handle);
  }
};

std::wstring Wide(const std::string& text) {
  std::wstring wide(text.size(), L'\0');
  wide.resize(
      static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                              wide.data(), static_cast<int>(wide.size()))));
  return wide;
}

// "name" or "name:port"; the port is 80 when none is given.
void SplitHost(const std::string& host, std::wstring& name, INTERNET_PORT& port) {
  const size_t colon = host.rfind(':');
  port = INTERNET_DEFAULT_HTTP_PORT;
  name = Wide(host.substr(0, colon));
  if (colon != std::string::npos)
    port = static_cast<INTERNET_PORT>(atoi(host.c_str() + colon + 1));
}

bool StatusIsOk(HINTERNET request) {
  DWORD status = 0;
  DWORD size = sizeof status;
  return WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size,
                             WINHTTP_NO_HEADER_INDEX) &&
         status == HTTP_STATUS_OK;
}

std::optional<std::string> ReadBody(HINTERNET request, ULONGLONG deadline) {
  std::string body;
  char buffer[4096];
  DWORD got = 0;
  while (WinHttpReadData(request, buffer, sizeof buffer, &got)) {
    if (got == 0)
      return body;
    body.append(buffer, got);
    if (body.size() > kMostBytes || GetTickCount64() > deadline)
      break;
  }
  return std::nullopt;
}

// Each phase may take a quarter of the time, and reading the body stops at the deadline.
std::optional<std::string> FetchNow(const std::string& host, const std::string& path,
                                    unsigned timeout_ms) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  const int phase = static_cast<int>(timeout_ms / 4);
  std::wstring name;
  INTERNET_PORT port = 0;
  SplitHost(host, name, port);
  InternetHandle session{WinHttpOpen(L"Tarvolin", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                     WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0)};
  if (!session.handle || !WinHttpSetTimeouts(session.handle, phase, phase, phase, phase))
    return std::nullopt;
  InternetHandle connection{WinHttpConnect(session.handle, name.c_str(), port, 0)};
  if (!connection.handle)
    return std::nullopt;
  InternetHandle request{WinHttpOpenRequest(connection.handle, L"GET", Wide(path).c_str(), nullptr,
                                            WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, 0)};
  if (!request.handle ||
      !WinHttpSendRequest(request.handle, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA,
                          0, 0, 0) ||
      !WinHttpReceiveResponse(request.handle, nullptr) || !StatusIsOk(request.handle))
    return std::nullopt;
  return ReadBody(request.handle, deadline);
}

}  // namespace

std::optional<std::string> WinHttpGet(const std::string& host, const std::string& path,
                                      unsigned timeout_ms) {
  std::optional<std::string> body;
  HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::thread worker([&] {
    body = FetchNow(host, path, timeout_ms);
    SetEvent(done);
  });
  // A quit request met here is kept for the main loop once the answer is in.
  bool quit = false;
  int quit_code = 0;
  while (MsgWaitForMultipleObjects(1, &done, FALSE, INFINITE, quit ? 0 : QS_ALLINPUT) !=
         WAIT_OBJECT_0) {
    MSG msg;
    while (!quit && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        quit = true;
        quit_code = static_cast<int>(msg.wParam);
        break;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  worker.join();
  CloseHandle(done);
  if (quit)
    PostQuitMessage(quit_code);
  return body;
}
