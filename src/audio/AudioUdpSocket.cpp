#include "audio/AudioUdpSocket.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <string>

#include "audio/AudioResult.h"
#include "ports/Diagnostics.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <poll.h>
#include <sys/socket.h>
#endif

namespace pel {

namespace {

// Room for a burst of the server's records while the receive thread waits for the processor
// (the system may grant less).
constexpr int kReceiveBufferBytes = 256 * 1024;

int LastSocketError() {
#ifdef _WIN32
  return WSAGetLastError();
#else
  return errno;
#endif
}

bool Interrupted(int error) {
#ifdef _WIN32
  return error == WSAEINTR;
#else
  return error == EINTR;
#endif
}

// 1 readable, 0 time-out, -1 the wait ended without the socket being readable.
int WaitReadable(sock_t sock, int milliseconds) {
  for (;;) {
#ifdef _WIN32
    fd_set readSet;
    FD_ZERO(&readSet);
    FD_SET(sock, &readSet);
    timeval limit{};
    limit.tv_sec = milliseconds / 1000;
    limit.tv_usec = (milliseconds % 1000) * 1000;
    const int ready =
        select(0, &readSet, nullptr, nullptr, milliseconds < 0 ? nullptr : &limit);
    if (ready < 0 && Interrupted(LastSocketError())) continue;
    if (ready == 0) return 0;
    return ready > 0 && FD_ISSET(sock, &readSet) ? 1 : -1;
#else
    pollfd entry{};
    entry.fd = sock;
    entry.events = POLLIN;
    const int ready = poll(&entry, 1, milliseconds < 0 ? -1 : milliseconds);
    if (ready < 0 && Interrupted(LastSocketError())) continue;
    if (ready == 0) return 0;
    return ready > 0 && (entry.revents & (POLLIN | POLLERR | POLLHUP)) != 0 ? 1 : -1;
#endif
  }
}

// What is left of a wait that ends at `deadline` (none: for ever), in milliseconds.
int RemainingMs(const std::optional<std::chrono::steady_clock::time_point>& deadline) {
  if (!deadline) return -1;
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      *deadline - std::chrono::steady_clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

bool ParseDottedIpv4(const char* text, in_addr* address) {
  if (text == nullptr) return false;
  uint32_t value = 0;
  const char* p = text;
  for (int part = 0; part < 4; ++part) {
    if (part > 0 && *p++ != '.') return false;
    if (*p < '0' || *p > '9') return false;
    if (*p == '0' && p[1] >= '0' && p[1] <= '9') return false;  // octal or a typing slip
    unsigned number = 0;
    int digits = 0;
    while (*p >= '0' && *p <= '9') {
      if (++digits > 3) return false;
      number = number * 10 + static_cast<unsigned>(*p++ - '0');
    }
    if (number > 255) return false;
    value = (value << 8) | number;
  }
  if (*p != '\0') return false;
  if (address != nullptr) address->s_addr = htonl(value);
  return true;
}

AudioUdpSocket::AudioUdpSocket() {
#ifdef _WIN32
  WSADATA data{};
  winsockStarted_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
  if (!winsockStarted_) ReportDiagnostic("WSAStartup() error!");
#endif
}

AudioUdpSocket::~AudioUdpSocket() {
  CloseSocket();
#ifdef _WIN32
  if (winsockStarted_) WSACleanup();
#endif
}

int AudioUdpSocket::OpenSocket(const char* address, int port, const char*, const char*) {
  in_addr host{};
  if (!ParseDottedIpv4(address, &host) || port < 1 || port > 65535) return AUDIO_BAD_PARAMETER;
  std::memset(&server_, 0, sizeof server_);
  server_.sin_family = AF_INET;
  server_.sin_port = htons(static_cast<unsigned short>(port));
  server_.sin_addr = host;
  socket_.reset(socket(AF_INET, SOCK_DGRAM, 0));
  if (!socket_.valid()) {
    std::memset(&server_, 0, sizeof server_);
    return AUDIO_NETWORK_ERROR;
  }
  const int bufferBytes = kReceiveBufferBytes;
  setsockopt(socket_.get(), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&bufferBytes),
             sizeof bufferBytes);
  return 0;
}

int AudioUdpSocket::Send(const uint8_t* data, size_t length) {
  if (!socket_.valid() || data == nullptr) return -1;
#ifdef _WIN32
  const int flags = 0;
#else
  const int flags = MSG_NOSIGNAL;
#endif
  return static_cast<int>(sendto(socket_.get(), reinterpret_cast<const char*>(data),
                                 static_cast<int>(length), flags,
                                 reinterpret_cast<const sockaddr*>(&server_), sizeof server_));
}

int AudioUdpSocket::Receive(uint8_t* buffer, int length, int seconds, sockaddr_in* from,
                            int* fromLength) {
  if (!socket_.valid() || buffer == nullptr || length < 1) {
    ReportDiagnosticF("\tSock Error = %d", 0);
    return kReceiveFailed;
  }
  std::optional<std::chrono::steady_clock::time_point> deadline;
  if (seconds >= 0) deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  for (;;) {
    const int ready = WaitReadable(socket_.get(), RemainingMs(deadline));
    if (ready == 0) {
      ReportDiagnostic("\tTime Out!!!");
      return kTimedOut;
    }
    if (ready < 0) {
      ReportDiagnostic("\tSelect error: sockfd not set");
      return kNotReadable;
    }
    sockaddr_in sender{};
    socklen_t senderLength = sizeof sender;
#ifndef _WIN32
    errno = 0;
#endif
    int got = static_cast<int>(recvfrom(socket_.get(), reinterpret_cast<char*>(buffer), length,
                                        0, reinterpret_cast<sockaddr*>(&sender), &senderLength));
#ifdef _WIN32
    // Winsock fails a datagram longer than the buffer after filling the buffer; POSIX cuts it.
    if (got < 0 && WSAGetLastError() == WSAEMSGSIZE) got = length;
#endif
    if (got >= 0 && !FromServer(sender)) {
      Drop(sender);
      // A flood keeps the socket readable: the wait still ends when it was due to.
      if (RemainingMs(deadline) == 0) {
        ReportDiagnostic("\tTime Out!!!");
        return kTimedOut;
      }
      continue;
    }
    if (got <= 0) {
      ReportDiagnosticF("\tSock Error = %d", got < 0 ? LastSocketError() : 0);
      return kReceiveFailed;
    }
    if (from != nullptr) *from = sender;
    if (fromLength != nullptr) *fromLength = static_cast<int>(senderLength);
    return got;
  }
}

bool AudioUdpSocket::FromServer(const sockaddr_in& sender) const {
  return sender.sin_family == AF_INET && sender.sin_port == server_.sin_port &&
         sender.sin_addr.s_addr == server_.sin_addr.s_addr;
}

void AudioUdpSocket::Drop(const sockaddr_in& sender) {
  if (dropped_.fetch_add(1) != 0) return;
  const uint32_t address = ntohl(sender.sin_addr.s_addr);
  ReportDiagnosticF("\tDrop datagram from %u.%u.%u.%u:%u, not the server", address >> 24,
                    (address >> 16) & 255, (address >> 8) & 255, address & 255,
                    static_cast<unsigned>(ntohs(sender.sin_port)));
}

void AudioUdpSocket::CloseSocket() {
  const uint64_t dropped = dropped_.exchange(0);
  if (dropped > 0) {
    ReportDiagnostic("\tDatagrams from other senders dropped: " + std::to_string(dropped));
  }
  socket_.reset();
  std::memset(&server_, 0, sizeof server_);
}

}  // namespace pel
