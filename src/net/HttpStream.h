#pragma once

#include <functional>
#include <memory>
#include <utility>

#include "Common/SockUtil/SocketHandle.h"
#include "ports/TlsChannel.h"

namespace pel {

// The connection of one request: a plain socket, or a TLS session over one. Either way the
// reads are the same loop with the same bounds, so plain http and https cannot drift apart.
class HttpStream {
 public:
  HttpStream() = default;
  explicit HttpStream(SocketHandle sock) : sock_(std::move(sock)) {}
  explicit HttpStream(std::unique_ptr<ITlsSession> session) : session_(std::move(session)) {}

  bool valid() const { return session_ != nullptr || sock_.valid(); }

  // Sends every byte: `length`, or -1.
  int SendAll(const char* data, int length);

  // Receives until `length` bytes arrived, the peer closed, or `enough(received)` (when given)
  // says the bytes so far are all that is wanted: the byte count, or -1. Every wait is limited
  // to `seconds` and the whole read ends at `deadline`.
  int ReceiveUntil(char* buffer, int length, int seconds,
                   const std::function<bool(int received)>& enough,
                   sock_clock::time_point deadline);

  // The socket of a plain stream, taken out of it (to set up TLS over it); the stream is left
  // without a connection.
  SocketHandle TakeSocket() { return std::move(sock_); }

  // Ends the connection gracefully.
  void Close();

 private:
  SocketHandle sock_;
  std::unique_ptr<ITlsSession> session_;
};

}  // namespace pel
