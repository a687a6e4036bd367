#pragma once

#include "Common/SockUtil/sock_util.h"

namespace pel {

// Owns one socket and closes it with sock_close unless it was released or already closed.
// sock_util functions that close the socket themselves on failure take ref() and mark the
// socket gone, so the owner never closes it a second time.
class SocketHandle {
 public:
  SocketHandle() = default;
  explicit SocketHandle(sock_t sock) noexcept : sock_(sock) {}
  ~SocketHandle() { reset(); }

  SocketHandle(const SocketHandle&) = delete;
  SocketHandle& operator=(const SocketHandle&) = delete;
  SocketHandle(SocketHandle&& other) noexcept : sock_(other.release()) {}
  SocketHandle& operator=(SocketHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  sock_t get() const noexcept { return sock_; }
  sock_t& ref() noexcept { return sock_; }
  bool valid() const noexcept { return sock_ != SOCK_NONE; }

  sock_t release() noexcept {
    const sock_t sock = sock_;
    sock_ = SOCK_NONE;
    return sock;
  }

  void reset(sock_t sock = SOCK_NONE) noexcept {
    if (sock_ != SOCK_NONE) sock_close(sock_);
    sock_ = sock;
  }

 private:
  sock_t sock_ = SOCK_NONE;
};

}  // namespace pel
