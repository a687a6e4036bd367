#include "Channel.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <chrono>

namespace kvsim {

namespace {
// A client that stops reading holds a send for at most this long.
constexpr int kSendStallLimitMs = 10000;
}  // namespace

Channel::Ready Channel::waitFor(short events, int timeoutMs) const {
  pollfd fds[2] = {{socket_.get(), events, 0}, {stopFd_, POLLIN, 0}};
  for (;;) {
    int n = ::poll(fds, 2, timeoutMs);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Ready::kError;
    if (n == 0) return Ready::kTimeout;
    if (fds[1].revents != 0) return Ready::kStopped;
    return Ready::kYes;
  }
}

bool Channel::sleep(int timeoutMs) const {
  pollfd p{stopFd_, POLLIN, 0};
  for (;;) {
    int n = ::poll(&p, 1, timeoutMs);
    if (n < 0 && errno == EINTR) continue;  // a rare early wake-up only shortens the wait
    return n == 0;
  }
}

void Channel::abort() {
  const linger reset{1, 0};
  ::setsockopt(socket_.get(), SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
  socket_.reset();
}

Channel::Io Channel::receive(std::string& into, std::size_t max, int timeoutMs) {
  if (max == 0) return Io::kError;
  switch (waitFor(POLLIN, timeoutMs)) {
    case Ready::kTimeout:
      return Io::kTimeout;
    case Ready::kStopped:
      return Io::kStopped;
    case Ready::kError:
      return Io::kError;
    case Ready::kYes:
      break;
  }
  char buffer[16384];
  std::size_t want = max < sizeof buffer ? max : sizeof buffer;
  for (;;) {
    ssize_t n = ::recv(socket_.get(), buffer, want, 0);
    if (n > 0) {
      into.append(buffer, static_cast<std::size_t>(n));
      return Io::kData;
    }
    if (n == 0) return Io::kClosed;
    if (errno == EINTR) continue;
    // Readiness without data happens on spurious wake-ups; report it as a quiet moment.
    if (errno == EAGAIN || errno == EWOULDBLOCK) return Io::kTimeout;
    return errno == ECONNRESET ? Io::kClosed : Io::kError;
  }
}

bool Channel::sendAll(std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::send(socket_.get(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (waitFor(POLLOUT, kSendStallLimitMs) != Ready::kYes) return false;
      continue;
    }
    return false;
  }
  return true;
}

void Channel::finish(int lingerMs, const std::function<void(std::string_view)>& onBytes) {
  ::shutdown(socket_.get(), SHUT_WR);
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(lingerMs);
  std::string chunk;
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return;
    chunk.clear();
    Io io = receive(chunk, 16384, static_cast<int>(left.count()));
    if (io == Io::kData) onBytes(chunk);
    if (io != Io::kData && io != Io::kTimeout) return;
  }
}

}  // namespace kvsim
