#include "support/LoopbackClient.h"

#include <chrono>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace pel::test {

namespace {

constexpr std::uintptr_t kNoSocket = ~std::uintptr_t{0};

#ifdef _WIN32
using Handle = SOCKET;
constexpr int kSendFlags = 0;
void CloseHandle(Handle s) { closesocket(s); }
constexpr int kShutSend = SD_SEND;
#else
using Handle = int;
constexpr int kSendFlags = MSG_NOSIGNAL;
void CloseHandle(Handle s) { ::close(s); }
constexpr int kShutSend = SHUT_WR;
#endif

Handle ToHandle(std::uintptr_t s) { return static_cast<Handle>(s); }

// 1 when bytes (or the peer's close) wait, 0 after the time-out, -1 on error.
int WaitReadable(Handle s, long long microseconds) {
#ifdef _WIN32
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(s, &readable);
  timeval wait{};
  wait.tv_sec = static_cast<long>(microseconds / 1000000);
  wait.tv_usec = static_cast<long>(microseconds % 1000000);
  return ::select(0, &readable, nullptr, nullptr, &wait);
#else
  pollfd p{s, POLLIN, 0};
  return ::poll(&p, 1, static_cast<int>((microseconds + 999) / 1000));
#endif
}

}  // namespace

LoopbackClient::~LoopbackClient() { close(); }

void LoopbackClient::close() {
  if (socket_ != kNoSocket) CloseHandle(ToHandle(socket_));
  socket_ = kNoSocket;
}

bool LoopbackClient::connect(int port) {
  close();
  peerClosed_ = false;
  Handle s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
#ifdef _WIN32
  if (s == INVALID_SOCKET) return false;
#else
  if (s < 0) return false;
#endif
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(s, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
    CloseHandle(s);
    return false;
  }
  socket_ = static_cast<std::uintptr_t>(s);
  return true;
}

bool LoopbackClient::send(const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    int n = ::send(ToHandle(socket_), bytes.data() + sent, static_cast<int>(bytes.size() - sent),
                   kSendFlags);
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

void LoopbackClient::shutdownSend() { ::shutdown(ToHandle(socket_), kShutSend); }

std::string LoopbackClient::receive(int timeoutMs) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  std::string received;
  while (socket_ != kNoSocket && !peerClosed_) {
    auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now());
    if (left.count() <= 0) break;
    int ready = WaitReadable(ToHandle(socket_), left.count());
    if (ready < 0) break;
    if (ready == 0) continue;
    char buffer[8192];
    int n = ::recv(ToHandle(socket_), buffer, sizeof buffer, 0);
    if (n <= 0) {
      peerClosed_ = true;  // an orderly close or a reset: either way nothing more comes
      break;
    }
    received.append(buffer, static_cast<std::size_t>(n));
  }
  return received;
}

std::string ExchangeWithLoopback(int port, const std::string& request, int timeoutMs) {
  LoopbackClient client;
  if (!client.connect(port) || !client.send(request)) return std::string();
  return client.receive(timeoutMs);
}

}  // namespace pel::test
