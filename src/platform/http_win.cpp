// One HTTP GET through WinHTTP, run off the UI thread while the UI thread keeps processing
// messages, so that the window stays responsive however slow the server is, and gives up
// at the time limit or when cancelled without waiting for the server.
#include <windows.h>
#include <winhttp.h>

#include <mutex>
#include <thread>

#include "platform/library_loader_win.h"
#include "platform/win_ports.h"

namespace {

// WinHTTP's functions, bound at the first version check rather than at start, as nothing
// else uses the library; a system without it cannot check.
#define WINHTTP_FUNCTION(name)      \
  decltype(&::WinHttp##name) name = \
      SystemFunction<decltype(&::WinHttp##name)>("winhttp.dll", "WinHttp" #name)
struct WinHttpLibrary {
  WINHTTP_FUNCTION(Open);
  WINHTTP_FUNCTION(SetTimeouts);
  WINHTTP_FUNCTION(Connect);
  WINHTTP_FUNCTION(OpenRequest);
  WINHTTP_FUNCTION(SendRequest);
  WINHTTP_FUNCTION(ReceiveResponse);
  WINHTTP_FUNCTION(QueryHeaders);
  WINHTTP_FUNCTION(ReadData);
  WINHTTP_FUNCTION(CloseHandle);

  bool Complete() const {
    return Open && SetTimeouts && Connect && OpenRequest && SendRequest && ReceiveResponse &&
           QueryHeaders && ReadData && CloseHandle;
  }
};
#undef WINHTTP_FUNCTION

const WinHttpLibrary& WinHttp() {
  static const WinHttpLibrary library;
  return library;
}

// A version file is a few hundred bytes; anything much larger is not one.
constexpr size_t kMostBytes = 1 << 20;
// How much longer than the time limit the worker may take before the caller stops waiting.
constexpr ULONGLONG kGraceMs = 500;

struct InternetHandle {
  HINTERNET handle;
  ~InternetHandle() {
    if (handle)
      WinHttp().CloseHandle(handle);
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
  return WinHttp().QueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                                WINHTTP_HEADER_NAME_BY_INDEX, &status, &size,
                                WINHTTP_NO_HEADER_INDEX) &&
         status == HTTP_STATUS_OK;
}

std::optional<std::string> ReadBody(HINTERNET request, ULONGLONG deadline) {
  std::string body;
  char buffer[4096];
  DWORD got = 0;
  while (WinHttp().ReadData(request, buffer, sizeof buffer, &got)) {
    if (got == 0)
      return body;
    body.append(buffer, got);
    if (body.size() > kMostBytes || GetTickCount64() > deadline)
      break;
  }
  return std::nullopt;
}

}  // namespace

// One GET, shared by the worker thread that fetches and the UI thread that waits for it.
// The UI thread may stop waiting first; the worker then finishes alone and the last of
// the two frees it.
struct HttpCall {
  HttpCall() : done(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  ~HttpCall() { CloseHandle(done); }

  // Closing the session is what makes WinHTTP's blocking calls on the worker give up.
  void CloseSession() {
    std::lock_guard<std::mutex> hold(lock);
    if (session)
      WinHttp().CloseHandle(session);
    session = nullptr;
  }

  std::mutex lock;
  HINTERNET session = nullptr;
  std::optional<std::string> body;  // the worker's result, valid once `done` is set
  HANDLE done;
  bool cancelled = false;  // UI thread only
};

namespace {

// Each phase may take a quarter of the time, and reading the body stops at the deadline.
std::optional<std::string> FetchNow(HttpCall& call, const std::string& host,
                                    const std::string& path, unsigned timeout_ms) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  const int phase = static_cast<int>(timeout_ms / 4);
  std::wstring name;
  INTERNET_PORT port = 0;
  SplitHost(host, name, port);
  HINTERNET session = WinHttp().Open(L"Tarvolin", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                     WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
  if (!session)
    return std::nullopt;
  {
    std::lock_guard<std::mutex> hold(call.lock);
    call.session = session;
  }
  if (!WinHttp().SetTimeouts(session, phase, phase, phase, phase))
    return std::nullopt;
  InternetHandle connection{WinHttp().Connect(session, name.c_str(), port, 0)};
  if (!connection.handle)
    return std::nullopt;
  InternetHandle request{WinHttp().OpenRequest(connection.handle, L"GET", Wide(path).c_str(),
                                               nullptr, WINHTTP_NO_REFERER,
                                               WINHTTP_DEFAULT_ACCEPT_TYPES, 0)};
  if (!request.handle ||
      !WinHttp().SendRequest(request.handle, WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                             WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
      !WinHttp().ReceiveResponse(request.handle, nullptr) || !StatusIsOk(request.handle))
    return std::nullopt;
  return ReadBody(request.handle, deadline);
}

// Dispatches messages until the call is done, cancelled or past `deadline`. A quit
// request ends the wait too, and is kept for the main loop.
void WaitProcessingMessages(HttpCall& call, ULONGLONG deadline) {
  bool quit = false;
  int quit_code = 0;
  while (!quit && !call.cancelled) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline)
      break;
    const DWORD woke = MsgWaitForMultipleObjects(1, &call.done, FALSE,
                                                 static_cast<DWORD>(deadline - now), QS_ALLINPUT);
    if (woke != WAIT_OBJECT_0 + 1)
      break;  // done, or the time is up
    MSG msg;
    while (!call.cancelled && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        quit = true;
        quit_code = static_cast<int>(msg.wParam);
        break;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  if (quit)
    PostQuitMessage(quit_code);
}

}  // namespace

// The worker gets a little longer than the caller waits, so that an answer in time is
// never lost to the caller's own limit.
std::optional<std::string> WinHttpClient::Get(const std::string& host, const std::string& path,
                                              unsigned timeout_ms) {
  if (!WinHttp().Complete())
    return std::nullopt;
  auto call = std::make_shared<HttpCall>();
  current_ = call;
  std::thread([call, host, path, timeout_ms] {
    call->body = FetchNow(*call, host, path, timeout_ms);
    call->CloseSession();
    SetEvent(call->done);
  }).detach();
  WaitProcessingMessages(*call, GetTickCount64() + timeout_ms + kGraceMs);
  current_.reset();
  if (WaitForSingleObject(call->done, 0) != WAIT_OBJECT_0) {
    call->CloseSession();  // the worker gives up soon and frees what is left
    return std::nullopt;
  }
  return call->cancelled ? std::nullopt : call->body;
}

void WinHttpClient::Cancel() {
  if (current_)
    current_->cancelled = true;
}
