// ICMP echoes through a raw socket or the system's ICMP library, with a hidden window that
// brings socket notifications and finished echoes to the UI thread.
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
#include <icmpapi.h>

#include <cstdlib>
#include <map>
#include <thread>
#include <utility>

#include "platform/library_loader_win.h"
#include "platform/win_ports.h"

namespace {

constexpr UINT kSocketMessage = 1282;
constexpr UINT kEchoDoneMessage = WM_APP + 1;
constexpr int kIpTimeToLiveOption = 4;
constexpr DWORD kTimedOut = 11010;
constexpr const char* kWindowClass = "TarvolinIcmpWindow";

using IcmpCreateFileFn = HANDLE(WINAPI*)();
using IcmpCloseHandleFn = BOOL(WINAPI*)(HANDLE);
using IcmpSendEchoFn = DWORD(WINAPI*)(HANDLE, IPAddr, LPVOID, WORD, PIP_OPTION_INFORMATION, LPVOID,
                                      DWORD, DWORD);

// What the process can do, found out once: sockets started, the ICMP library bound.
class IcmpProcess {
 public:
  static IcmpProcess& Get() {
    static IcmpProcess process;
    return process;
  }
  ~IcmpProcess() {
    if (sockets_started_)
      WSACleanup();
  }

  // Binds the ICMP library when that was not done yet; false when it cannot be had.
  bool BindLibrary() {
    if (create && close && send)
      return true;
    const UINT old_mode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    create = SystemFunction<IcmpCreateFileFn>("ICMP.DLL", "IcmpCreateFile");
    close = SystemFunction<IcmpCloseHandleFn>("ICMP.DLL", "IcmpCloseHandle");
    send = SystemFunction<IcmpSendEchoFn>("ICMP.DLL", "IcmpSendEcho");
    SetErrorMode(old_mode);
    return create && close && send;
  }

  IcmpMode mode = IcmpMode::None;
  IcmpCreateFileFn create = nullptr;
  IcmpCloseHandleFn close = nullptr;
  IcmpSendEchoFn send = nullptr;

 private:
  IcmpProcess() {
    WSADATA data;
    sockets_started_ = WSAStartup(MAKEWORD(1, 1), &data) == 0;
    const SOCKET probe = socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
    if (probe == INVALID_SOCKET) {
      mode = BindLibrary() ? IcmpMode::Library : IcmpMode::None;
      return;
    }
    const DWORD ttl = 64;
    if (setsockopt(probe, IPPROTO_IP, kIpTimeToLiveOption, reinterpret_cast<const char*>(&ttl),
                   sizeof ttl) != 0)
      BindLibrary();
    mode = IcmpMode::Raw;
    closesocket(probe);
  }

  bool sockets_started_ = false;
};

// An echo finished off the UI thread, on its way to the UI thread.
struct FinishedEcho {
  std::function<void(const IcmpEchoResult&)> done;
  IcmpEchoResult result;
};

IcmpEchoResult LibraryEchoNow(uint32_t address, uint8_t blocksize, uint8_t time_to_live,
                              uint32_t timeout_ms) {
  const IcmpProcess& process = IcmpProcess::Get();
  IcmpEchoResult failed{kTimedOut, address, 0};
  if (!process.send)
    return failed;
  HANDLE handle = process.create();
  if (handle == INVALID_HANDLE_VALUE)
    return failed;
  std::vector<char> request(blocksize, static_cast<char>(0xA7));
  std::vector<char> reply(sizeof(ICMP_ECHO_REPLY) + blocksize + 8);
  IP_OPTION_INFORMATION options{};
  options.Ttl = time_to_live;
  const DWORD replies = process.send(handle, htonl(address), request.data(), blocksize, &options,
                                     reply.data(), static_cast<DWORD>(reply.size()), timeout_ms);
  process.close(handle);
  if (replies != 1)
    return failed;
  ICMP_ECHO_REPLY echo;
  memcpy(&echo, reply.data(), sizeof echo);
  return {echo.Status, ntohl(echo.Address), echo.RoundTripTime};
}

// TARVOLIN_ECHO_HOLD names a file: while it exists, answers to echoes are let go as if
// none came. The tests stop answers this way, as every loopback address answers echoes.
bool EchoAnswersHeld() {
  const char* file = std::getenv("TARVOLIN_ECHO_HOLD");
  return file && *file && GetFileAttributesA(file) != INVALID_FILE_ATTRIBUTES;
}

class WinNetwork;

class WinRawSocket : public RawIcmpSocket {
 public:
  WinRawSocket(WinNetwork& network, SOCKET socket,
               std::function<void(const std::vector<uint8_t>&)> on_datagram)
      : network_(network), socket_(socket), on_datagram_(std::move(on_datagram)) {}
  ~WinRawSocket() override;

  bool SendTo(uint32_t address, const std::vector<uint8_t>& message) override {
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_addr.s_addr = htonl(address);
    return sendto(socket_, reinterpret_cast<const char*>(message.data()),
                  static_cast<int>(message.size()), 0, reinterpret_cast<sockaddr*>(&target),
                  sizeof target) != SOCKET_ERROR;
  }

  void Receive() {
    std::vector<uint8_t> datagram(65536);
    sockaddr_in from{};
    int from_size = sizeof from;
    const int size = recvfrom(socket_, reinterpret_cast<char*>(datagram.data()),
                              static_cast<int>(datagram.size()), 0,
                              reinterpret_cast<sockaddr*>(&from), &from_size);
    if (size <= 0 || EchoAnswersHeld())
      return;
    datagram.resize(size);
    on_datagram_(datagram);
  }

 private:
  WinNetwork& network_;
  SOCKET socket_;
  std::function<void(const std::vector<uint8_t>&)> on_datagram_;
};

class WinNetwork : public Network {
 public:
  WinNetwork() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kWindowClass;
    RegisterClassA(&wc);
    window_ = CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              wc.hInstance, nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~WinNetwork() override { DestroyWindow(window_); }

  IcmpMode Mode() override { return IcmpProcess::Get().mode; }

  uint32_t Resolve(const std::string& host) override {
    IcmpProcess::Get();  // sockets are started
    if (host.empty())
      return INADDR_NONE;
    const unsigned long dotted = inet_addr(host.c_str());
    if (dotted != INADDR_NONE)
      return ntohl(dotted);
    const hostent* found = gethostbyname(host.c_str());
    if (!found || found->h_addrtype != AF_INET || !found->h_addr_list[0])
      return INADDR_NONE;
    uint32_t address;
    memcpy(&address, found->h_addr_list[0], sizeof address);
    return ntohl(address);
  }

  std::unique_ptr<RawIcmpSocket> OpenRawIcmp(
      std::function<void(const std::vector<uint8_t>&)> on_datagram) override {
    IcmpProcess::Get();
    const SOCKET s = socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
    if (s == INVALID_SOCKET)
      return nullptr;
    auto raw = std::make_unique<WinRawSocket>(*this, s, std::move(on_datagram));
    sockets_[s] = raw.get();
    WSAAsyncSelect(s, window_, kSocketMessage, FD_READ);
    return raw;
  }

  void LibraryEcho(uint32_t address, uint8_t blocksize, uint8_t time_to_live, uint32_t timeout_ms,
                   std::function<void(const IcmpEchoResult&)> done) override {
    HWND window = window_;
    IcmpProcess::Get().BindLibrary();  // here, not on the echo's thread
    std::thread([=, done = std::move(done)]() mutable {
      auto* finished = new FinishedEcho{
          std::move(done), LibraryEchoNow(address, blocksize, time_to_live, timeout_ms)};
      if (!PostMessageA(window, kEchoDoneMessage, 0, reinterpret_cast<LPARAM>(finished)))
        delete finished;  // the program is ending
    }).detach();
  }

  std::optional<std::string> HttpGet(const std::string& host, const std::string& path,
                                     unsigned timeout_ms) override {
    return http_.Get(host, path, timeout_ms);
  }

  void CancelHttpGet() override { http_.Cancel(); }

  void Forget(SOCKET s) {
    sockets_.erase(s);
    closesocket(s);
  }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<WinNetwork*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    try {
      if (msg == kSocketMessage && self) {
        const auto found = self->sockets_.find(static_cast<SOCKET>(wparam));
        if (found != self->sockets_.end())
          found->second->Receive();
        return 0;
      }
      if (msg == kEchoDoneMessage) {
        std::unique_ptr<FinishedEcho> finished(reinterpret_cast<FinishedEcho*>(lparam));
        if (EchoAnswersHeld())
          finished->result.status = kTimedOut;
        finished->done(finished->result);
        return 0;
      }
    } catch (...) {
      // A receiver's fault must not unwind through the system's code.
      return 0;
    }
    if (msg == WM_QUERYENDSESSION)
      return TRUE;
    return DefWindowProcA(hwnd, msg, wparam, lparam);
  }

  HWND window_ = nullptr;
  std::map<SOCKET, WinRawSocket*> sockets_;
  WinHttpClient http_;
};

WinRawSocket::~WinRawSocket() {
  network_.Forget(socket_);
}

}  // namespace

std::unique_ptr<Network> MakeWinNetwork() {
  return std::make_unique<WinNetwork>();
}
