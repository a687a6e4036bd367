#pragma once

#include <cstdint>
#include <string>

namespace pel::test {

// A plain TCP client to 127.0.0.1 for tests that talk to a loopback peer byte for byte
// (POSIX sockets natively, Winsock under mingw-w64; the test main starts Winsock).
class LoopbackClient {
 public:
  LoopbackClient() = default;
  ~LoopbackClient();
  LoopbackClient(const LoopbackClient&) = delete;
  LoopbackClient& operator=(const LoopbackClient&) = delete;

  bool connect(int port);  // false when nothing listens there
  bool send(const std::string& bytes);
  void shutdownSend();
  // Reads until the peer closes or timeoutMs pass, whichever comes first.
  std::string receive(int timeoutMs);
  bool peerClosed() const { return peerClosed_; }
  void close();

 private:
  std::uintptr_t socket_ = ~std::uintptr_t{0};
  bool peerClosed_ = false;
};

// Connects, sends request and reads until the peer closes (at most timeoutMs).
std::string ExchangeWithLoopback(int port, const std::string& request, int timeoutMs = 5000);

}  // namespace pel::test
