#pragma once

#include <cstddef>
#include <cstdint>

#include "Common/SockUtil/SocketHandle.h"
#include "Common/SockUtil/sock_util.h"

namespace pel {

// The audio connection's UDP socket to the server's audio port. It neither binds nor
// connects: datagrams go to the stored server address and come from anyone.
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

  // Waits up to `seconds` (negative: for ever) and receives one datagram of at most `length`
  // bytes (a longer one is cut). Bytes received, or kTimedOut, kReceiveFailed (also for an
  // empty datagram) or kNotReadable, each after its diagnostic line on standard output.
  // `from` and `fromLength` may be null.
  int Receive(uint8_t* buffer, int length, int seconds, sockaddr_in* from, int* fromLength);

  bool IsOpen() const { return socket_.valid(); }
  void CloseSocket();

  // The stored server address (all zero while closed).
  const sockaddr_in& ServerAddress() const { return server_; }

 private:
#ifdef _WIN32
  bool winsockStarted_ = false;
#endif
  SocketHandle socket_;
  sockaddr_in server_{};
};

// Whether text is a dotted IPv4 address: four decimal numbers 0..255 without leading zeros.
bool ParseDottedIpv4(const char* text, in_addr* address);

}  // namespace pel
