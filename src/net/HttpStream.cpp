#include "net/HttpStream.h"

#include <cerrno>

#include "ports/Diagnostics.h"

namespace pel {

int HttpStream::SendAll(const char* data, int length) {
  if (session_ != nullptr) return session_->Send(data, length);
  if (!sock_.valid()) return -1;
  return sock_send_all(sock_.get(), data, length, 0);
}

int HttpStream::ReceiveUntil(char* buffer, int length, int seconds,
                             const std::function<bool(int received)>& enough,
                             sock_clock::time_point deadline) {
  // A plain stream reads exactly as the socket utilities always have; a TLS session has its
  // own receive, under the same loop and bounds.
  if (session_ == nullptr) {
    return sock_recv_until(sock_.ref(), buffer, length, 0, seconds, enough, deadline);
  }
  if (length < 1) return 0;
  int received = 0;
  while (received < length) {
    const int got = session_->Recv(buffer + received, length - received, seconds, deadline);
    if (got < 0) {
      const int error = errno;  // the caller reads the failure's detail after the report
      ReportDiagnosticF("receive failed (errno: %d)", error);
      errno = error;
      return -1;
    }
    if (got == 0) break;  // the peer closed
    received += got;
    if (enough && enough(received)) break;
  }
  return received;
}

void HttpStream::Close() {
  session_.reset();
  sock_.reset();
}

}  // namespace pel
