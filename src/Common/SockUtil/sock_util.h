#pragma once

// Socket helpers shared by the HTTP client and the audio transport. Plain functions over
// POSIX sockets or Winsock: -1, false or a null pointer on failure with the detail in errno,
// and one diagnostic line "[file(line)]\t..." on standard output for each failure.

#include <chrono>
#include <cstddef>
#include <functional>

#ifdef _WIN32
#include <winsock2.h>
#else
#include <netinet/in.h>
#include <sys/socket.h>
#endif

namespace pel {

#ifdef _WIN32
using sock_t = SOCKET;
#else
using sock_t = int;
#endif

// The value that stands for "no socket" (INVALID_SOCKET on Windows, -1 elsewhere).
constexpr sock_t SOCK_NONE = static_cast<sock_t>(-1);

// Error number stored after a wait for the network ran out of time (WSAETIMEDOUT's value,
// used on every platform so that callers see one number).
constexpr int SOCK_ERR_TIMEOUT = 10060;

// The clock of read deadlines, and the deadline of reads that only have their per-wait limit.
using sock_clock = std::chrono::steady_clock;
constexpr sock_clock::time_point SOCK_NO_DEADLINE = sock_clock::time_point::max();

// Functions taking `sock_t&` may close the socket themselves on failure (time-out, select
// error, failed connect); they then set it to SOCK_NONE so nobody closes it a second time.

// Fills an IPv4 address from a host name (first character a letter: resolved, first address
// taken) or dotted-decimal text. 0, or -1 when the host cannot be resolved or converted.
int sock_make_addr(const char* host, unsigned short port, sockaddr_in* addr);

// Connects with a time-out in seconds (negative: no limit). 0 or -1.
int sock_connect_timeout(sock_t& sock, const sockaddr_in* addr, int seconds);

// Waits for readability (seconds, negative: no limit), then receives once. Bytes received,
// 0 when the peer closed, or -1. A wait never goes past `deadline`: reaching it is a time-out
// like the wait's own limit.
int sock_recv_timeout(sock_t& sock, char* buffer, int length, int flags, int seconds,
                      sock_clock::time_point deadline = SOCK_NO_DEADLINE);

// Receives until `length` bytes arrived or the peer closed: the byte count, or -1. Every wait
// has its own limit of `seconds`, and the whole read ends at `deadline`.
int sock_recv_all(sock_t& sock, char* buffer, int length, int flags, int seconds,
                  sock_clock::time_point deadline = SOCK_NO_DEADLINE);

// Like sock_recv_all, but also stops as soon as `enough(received)` says the bytes so far are
// all that is wanted.
int sock_recv_until(sock_t& sock, char* buffer, int length, int flags, int seconds,
                    const std::function<bool(int received)>& enough,
                    sock_clock::time_point deadline = SOCK_NO_DEADLINE);

// Sends every byte: `length`, or -1.
int sock_send_all(sock_t sock, const char* buffer, int length, int flags);

// Non-zero flag: blocking mode; 0: non-blocking mode.
void sock_set_blocking(sock_t sock, int blocking);

// Graceful close: shuts down the sending side, drains a little, closes. Nothing for SOCK_NONE.
void sock_close(sock_t sock);

// "%u.%u.%u.%u" of four address bytes (network order) into `out`; null when the text and its
// terminator do not fit in `size` bytes.
char* sock_addr_to_string(const unsigned char* bytes, char* out, size_t size);

// First occurrence of `pattern` in the first `length` bytes of `buffer`, or null. An empty
// pattern matches at the start of a non-empty buffer.
const char* mem_find(const char* buffer, size_t length, const char* pattern,
                     size_t patternLength);

// Standard Base64 (RFC 4648 alphabet, "=" padding, no line breaks) into an area that is
// cleared first. Characters written; -1 for an empty source or when the text would not fit.
int base64_encode(const unsigned char* source, size_t length, char* out, size_t outSize);

}  // namespace pel
