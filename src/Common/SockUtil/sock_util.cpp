#include "Common/SockUtil/sock_util.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <unistd.h>
#endif

#include "ports/Diagnostics.h"

namespace pel {

namespace {

#define SOCK_LOG(format, ...) \
  ReportDiagnosticF("[%s(%d)]\t" format, __FILE__, __LINE__, ##__VA_ARGS__)

int last_error() {
#ifdef _WIN32
  return WSAGetLastError();
#else
  return errno;
#endif
}

void set_last_error(int error) {
#ifdef _WIN32
  WSASetLastError(error);
#endif
  errno = error;
}

bool interrupted(int error) {
#ifdef _WIN32
  return error == WSAEINTR || error == EINTR;
#else
  return error == EINTR;
#endif
}

bool connect_in_progress(int error) {
#ifdef _WIN32
  return error == WSAEWOULDBLOCK;
#else
  // An interrupted connect goes on in the background just like a non-blocking one.
  return error == EINPROGRESS || error == EWOULDBLOCK || error == EINTR;
#endif
}

void raw_close(sock_t sock) {
#ifdef _WIN32
  closesocket(sock);
#else
  close(sock);
#endif
}

// Closes a socket on a failure path and marks it gone, keeping errno as it was.
void close_and_forget(sock_t& sock) {
  const int saved = errno;
  raw_close(sock);
  sock = SOCK_NONE;
  errno = saved;
}

enum class WaitFor { Read, Connect };

// Waits until the socket is readable (or, for a connect, readable, writable or failed), for
// `seconds` (negative: no limit) but never past `deadline`, resuming after signals with the
// time that is left. Returns the number of ready sockets (0 on time-out, -1 on error);
// `isSet` tells whether this socket was reported.
int wait_on(sock_t sock, WaitFor what, int seconds, bool* isSet,
            sock_clock::time_point deadline = SOCK_NO_DEADLINE) {
  const sock_clock::time_point start = sock_clock::now();
  sock_clock::time_point end = deadline;
  if (seconds >= 0 && std::chrono::seconds(seconds) < deadline - start) {
    end = start + std::chrono::seconds(seconds);
  }
  const bool limited = end != SOCK_NO_DEADLINE;
  *isSet = false;
  for (;;) {
    long long leftMs = -1;
    if (limited) {
      leftMs = std::chrono::duration_cast<std::chrono::milliseconds>(end - sock_clock::now())
                   .count();
      if (leftMs < 0) leftMs = 0;
    }
#ifdef _WIN32
    fd_set readSet;
    fd_set writeSet;
    fd_set failSet;
    FD_ZERO(&readSet);
    FD_ZERO(&writeSet);
    FD_ZERO(&failSet);
    FD_SET(sock, &readSet);
    FD_SET(sock, &writeSet);
    FD_SET(sock, &failSet);
    timeval limit{};
    limit.tv_sec = static_cast<long>(leftMs / 1000);
    limit.tv_usec = static_cast<long>((leftMs % 1000) * 1000);
    const bool connecting = what == WaitFor::Connect;
    // Winsock reports a failed connect in the exception set only.
    const int ready = select(0, &readSet, connecting ? &writeSet : nullptr,
                             connecting ? &failSet : nullptr, limited ? &limit : nullptr);
    if (ready < 0 && interrupted(last_error())) continue;
    if (ready > 0) {
      *isSet = FD_ISSET(sock, &readSet) ||
               (connecting && (FD_ISSET(sock, &writeSet) || FD_ISSET(sock, &failSet)));
    }
#else
    // poll rather than select: select cannot watch descriptors numbered FD_SETSIZE or above.
    pollfd entry{};
    entry.fd = sock;
    entry.events = what == WaitFor::Connect ? (POLLIN | POLLOUT) : POLLIN;
    const int ready = poll(&entry, 1, leftMs > INT_MAX ? INT_MAX : static_cast<int>(leftMs));
    if (ready < 0 && interrupted(last_error())) continue;
    if (ready > 0) *isSet = (entry.revents & ~POLLNVAL) != 0;
#endif
    if (ready < 0) set_last_error(last_error());
    return ready;
  }
}

bool is_ascii_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

int sock_make_addr(const char* host, unsigned short port, sockaddr_in* addr) {
  if (host == nullptr || addr == nullptr) {
    errno = EINVAL;
    return -1;
  }
  std::memset(addr, 0, sizeof *addr);
  addr->sin_family = AF_INET;
  addr->sin_port = htons(port);
  if (is_ascii_letter(host[0])) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host, nullptr, &hints, &found) != 0 || found == nullptr) {
      errno = EINVAL;
      return -1;
    }
    addr->sin_addr = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
    return 0;
  }
  if (inet_pton(AF_INET, host, &addr->sin_addr) != 1) {
    errno = EINVAL;
    return -1;
  }
  return 0;
}

int sock_connect_timeout(sock_t& sock, const sockaddr_in* addr, int seconds) {
  if (sock == SOCK_NONE) {
    SOCK_LOG("invalid socket");
    return -1;
  }
  if (addr == nullptr) {
    errno = EINVAL;
    return -1;
  }
  sock_set_blocking(sock, 0);
  set_last_error(0);
  int pending = 0;
  if (connect(sock, reinterpret_cast<const sockaddr*>(addr), sizeof *addr) != 0) {
    const int error = last_error();
    if (!connect_in_progress(error)) {
      errno = error;
      return -1;
    }
    bool isSet = false;
    const int ready = wait_on(sock, WaitFor::Connect, seconds, &isSet);
    if (ready == 0) {
      close_and_forget(sock);
      errno = SOCK_ERR_TIMEOUT;
      return -1;
    }
    if (!isSet) {
      close_and_forget(sock);
      ReportDiagnostic("select error: sockfd not set");
      return -1;
    }
    socklen_t size = sizeof pending;
    if (getsockopt(sock, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&pending), &size) != 0) {
      errno = last_error();
      return -1;
    }
  }
  sock_set_blocking(sock, 1);
  if (pending != 0) {
    close_and_forget(sock);
    errno = pending;
    return -1;
  }
  return 0;
}

int sock_recv_timeout(sock_t& sock, char* buffer, int length, int flags, int seconds,
                      sock_clock::time_point deadline) {
  if (sock == SOCK_NONE) {
    SOCK_LOG("invalid socket");
    return -1;
  }
  bool isSet = false;
  const int ready = wait_on(sock, WaitFor::Read, seconds, &isSet, deadline);
  if (ready == 0) {
    close_and_forget(sock);
    SOCK_LOG("timout in select to recv");
    errno = SOCK_ERR_TIMEOUT;
    return -1;
  }
  if (!isSet) {
    const int error = errno;
    close_and_forget(sock);
    SOCK_LOG("select error: sockfd not set\n");
    errno = error;
    return -1;
  }
  const int got = static_cast<int>(recv(sock, buffer, length < 0 ? 0 : length, flags));
  if (got < 0) errno = last_error();
  return got;
}

int sock_recv_until(sock_t& sock, char* buffer, int length, int flags, int seconds,
                    const std::function<bool(int received)>& enough,
                    sock_clock::time_point deadline) {
  if (length < 1) return 0;
  int received = 0;
  while (received < length) {
    const int got =
        sock_recv_timeout(sock, buffer + received, length - received, flags, seconds, deadline);
    if (got < 0) {
      const int error = errno;
      if (sock != SOCK_NONE && interrupted(error)) continue;
      SOCK_LOG("fail to recv (errno: %d)\n", error);
      errno = error;
      return -1;
    }
    if (got == 0) break;  // the peer closed
    received += got;
    if (enough && enough(received)) break;
  }
  return received;
}

int sock_recv_all(sock_t& sock, char* buffer, int length, int flags, int seconds,
                  sock_clock::time_point deadline) {
  return sock_recv_until(sock, buffer, length, flags, seconds, nullptr, deadline);
}

int sock_send_all(sock_t sock, const char* buffer, int length, int flags) {
  if (length < 1) return length;
#ifdef MSG_NOSIGNAL
  flags |= MSG_NOSIGNAL;  // a peer that went away must be an error, not the end of the process
#endif
  int sent = 0;
  while (sent < length) {
    const int n = static_cast<int>(send(sock, buffer + sent, length - sent, flags));
    if (n < 1) {
      const int error = n < 0 ? last_error() : 0;
      if (interrupted(error)) continue;
      SOCK_LOG("fail to send (errno: %d)\n", error);
      errno = error;
      return -1;
    }
    sent += n;
  }
  return length;
}

void sock_set_blocking(sock_t sock, int blocking) {
#ifdef _WIN32
  u_long nonBlocking = blocking ? 0 : 1;
  ioctlsocket(sock, FIONBIO, &nonBlocking);
#else
  const int flags = fcntl(sock, F_GETFL, 0);
  if (flags < 0) return;
  fcntl(sock, F_SETFL, blocking ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK));
#endif
}

void sock_close(sock_t sock) {
  if (sock == SOCK_NONE) return;
  const int saved = errno;  // closing after a failure must not hide that failure's detail
  sock_set_blocking(sock, 0);
#ifdef _WIN32
  const int how = SD_SEND;
#else
  const int how = SHUT_WR;
#endif
  if (shutdown(sock, how) == 0) {
    char scratch[256];
    (void)recv(sock, scratch, sizeof scratch, 0);
  }
  raw_close(sock);
  set_last_error(saved);
}

char* sock_addr_to_string(const unsigned char* bytes, char* out, size_t size) {
  if (bytes == nullptr || out == nullptr) return nullptr;
  char text[16];
  const int length = std::snprintf(text, sizeof text, "%u.%u.%u.%u", bytes[0], bytes[1],
                                   bytes[2], bytes[3]);
  if (length < 0 || static_cast<size_t>(length) >= size) {
    if (size > 0) out[0] = '\0';
    return nullptr;
  }
  std::memcpy(out, text, static_cast<size_t>(length) + 1);
  return out;
}

const char* mem_find(const char* buffer, size_t length, const char* pattern,
                     size_t patternLength) {
  if (buffer == nullptr || pattern == nullptr || length == 0 || length < patternLength) {
    return nullptr;
  }
  if (patternLength == 0) return buffer;
  const size_t last = length - patternLength;
  size_t at = 0;
  while (at <= last) {
    const void* first = std::memchr(buffer + at, pattern[0], last - at + 1);
    if (first == nullptr) return nullptr;
    at = static_cast<size_t>(static_cast<const char*>(first) - buffer);
    if (std::memcmp(buffer + at + 1, pattern + 1, patternLength - 1) == 0) return buffer + at;
    ++at;
  }
  return nullptr;
}

int base64_encode(const unsigned char* source, size_t length, char* out, size_t outSize) {
  static const char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  if (out != nullptr && outSize > 0) std::memset(out, 0, outSize);
  if (source == nullptr || length == 0 || out == nullptr) return -1;
  if (length > (static_cast<size_t>(INT_MAX) / 4) * 3 - 2) return -1;
  const size_t needed = 4 * ((length + 2) / 3);
  if (needed > outSize) return -1;
  size_t o = 0;
  for (size_t i = 0; i < length; i += 3) {
    const size_t left = length - i;
    const unsigned b0 = source[i];
    const unsigned b1 = left > 1 ? source[i + 1] : 0;
    const unsigned b2 = left > 2 ? source[i + 2] : 0;
    out[o++] = kAlphabet[b0 >> 2];
    out[o++] = kAlphabet[((b0 & 0x03) << 4) | (b1 >> 4)];
    out[o++] = left > 1 ? kAlphabet[((b1 & 0x0F) << 2) | (b2 >> 6)] : '=';
    out[o++] = left > 2 ? kAlphabet[b2 & 0x3F] : '=';
  }
  return static_cast<int>(needed);
}

}  // namespace pel
