// A TCP socket of the test's own listening on 127.0.0.1, so that nothing leaves the machine.
#pragma once

#include <winsock2.h>

// Starts Winsock (the caller's WSACleanup ends it) and returns a socket listening at a port
// the system chose, which `port` gets.
inline SOCKET ListenOnLoopback(unsigned short& port) {
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
  const SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int size = sizeof address;
  bind(listener, reinterpret_cast<sockaddr*>(&address), size);
  listen(listener, 4);
  getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
  port = ntohs(address.sin_port);
  return listener;
}
