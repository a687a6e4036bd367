#include "net/HttpStream.h"

#include <cerrno>

#include "ports/Diagnostics.h"

namespace pel {

namespace {

bool Interrupted(int error) {
#ifdef _WIN32
  return error == WSAEINTR || error == EINTR;
#else
  return error == EINTR;
#endif
}

}  // namespace

int HttpStream::SendAll(const char* data, int length) {
  if (session_ != nullptr) return session_->Send(data, length);
  if (!sock_.valid()) return -1;
  return sock_send_all(sock_.get(), data, length, 0);
}

int HttpStream::ReceiveOnce(char* buffer, int length, int seconds,
                            sock_clock::time_point deadline) {
  if (session_ != nullptr) return session_->Recv(buffer, length, seconds, deadline);
  for (;;) {
    const int got = sock_recv_timeout(sock_.ref(), buffer, length, 0, seconds, deadline);
    if (got >= 0 || !sock_.valid() || !Interrupted(errno)) return got;
  }
}

int HttpStream::ReceiveUntil(char* buffer, int length, int seconds,
                             const std::function<bool(int received)>& enough,
                             sock_clock::time_point deadline) {
  if (length < 1) return 0;
  int received = 0;
  while (received < length) {
    const int got = ReceiveOnce(buffer + received, length - received, seconds, deadline);
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
