#pragma once

#include <cstdint>
#include <string>

namespace kvsim {

// Owns one file descriptor and closes it when it goes away.
class Fd {
 public:
  Fd() = default;
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() { reset(); }
  Fd(Fd&& other) noexcept : fd_(other.release()) {}
  Fd& operator=(Fd&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  int release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }
  void reset(int fd = -1);

 private:
  int fd_ = -1;
};

// A non-blocking TCP listener on 127.0.0.1 (never any other address). Port 0 lets the system
// pick a free port. Returns an invalid Fd and fills error on failure.
Fd ListenLoopback(uint16_t port, std::string& error);

// A non-blocking UDP socket bound to 127.0.0.1:port (0: a free port).
Fd BindUdpLoopback(uint16_t port, std::string& error);

// The port a bound socket listens on, 0 when it cannot be read.
uint16_t LocalPort(int fd);

// Accepts one pending connection as a non-blocking socket; invalid when none is pending.
Fd AcceptConnection(int listenFd);

bool SetNonBlocking(int fd);

}  // namespace kvsim
