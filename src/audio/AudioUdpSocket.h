#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "Common/SockUtil/SocketHandle.h"
#include "Common/SockUtil/sock_util.h"

namespace pel {

// The audio connection's UDP socket to the server's audio port. It neither binds nor
// connects: datagrams go to the stored server address, and only datagrams from that address
// and port are taken. Anyone else who reaches the port could otherwise answer the login or
// put sound into the player; their datagrams are dropped and counted, the first of each
// connection and the count at its close reported through the diagnostics port (one line per
// drop would flood it).
class AudioUdpSocket {
 public:
  // Receive results other than a byte count.
  static constexpr int kTimedOut = -1;
  static constexpr int kReceiveFailed = -2;
  static constexpr int kNotReadable = -3;

  // Starts Winsock 2.2 where there is one; a failure is only reported on standard output.
  AudioUdpSocket();
  ~AudioUdpSocket();
  AudioUdpSocket(const AudioUdpSocket&) = delete;
  AudioUdpSocket& operator=(const AudioUdpSocket&) = delete;

  // Stores the server address and makes a datagram socket (with a receive buffer of 256 KiB
  // where the system allows it): 0; -12 when the address is not a
  // dotted IPv4 address or the port not 1..65535; -14 when no socket can be made (the address
  // is cleared again). The user and password are not used here.
  int OpenSocket(const char* address, int port, const char* user, const char* password);

  // One datagram to the server; bytes sent or -1 (callers need not look).
  int Send(const uint8_t* data, size_t length);

  // Waits up to `seconds` (negative: for ever) and receives one datagram of the server's of at
  // most `length` bytes (a longer one is cut). Datagrams from other senders are dropped and
  // the wait goes on to the same end, so that they change nothing. Bytes received, or
  // kTimedOut, kReceiveFailed (also for an empty datagram) or kNotReadable, each after its
  // diagnostic line. `from` and `fromLength` may be null.
  int Receive(uint8_t* buffer, int length, int seconds, sockaddr_in* from, int* fromLength);

  bool IsOpen() const { return socket_.valid(); }
  // Closes the socket; reports how many datagrams from other senders it dropped, if any.
  void CloseSocket();

  // The stored server address (all zero while closed).
  const sockaddr_in& ServerAddress() const { return server_; }

 private:
  bool FromServer(const sockaddr_in& sender) const;
  void Drop(const sockaddr_in& sender);

#ifdef _WIN32
  bool winsockStarted_ = false;
#endif
  SocketHandle socket_;
  sockaddr_in server_{};
  // Written by the receiving thread, read when the socket closes (after that thread ended,
  // or from the finisher that took it over).
  std::atomic<uint64_t> dropped_{0};
};

// Whether text is a dotted IPv4 address: four decimal numbers 0..255 without leading zeros.
bool ParseDottedIpv4(const char* text, in_addr* address);

}  // namespace pel
