#pragma once

#include <memory>
#include <string>

#include "Common/SockUtil/SocketHandle.h"

namespace pel {

// Why a secure session could not be set up.
enum class TlsFailure {
  kNone,
  kUntrusted,  // the certificate does not chain to a root the system trusts
  kExpired,    // the certificate (or one in its chain) is out of date
  kWrongName,  // the certificate does not name the host as written
  kOther,      // anything else: no provider, the handshake failed, the peer went silent
};

// A byte stream over a connected socket, protected by TLS. It owns the socket. Its calls mean
// what sock_util's do: every wait is limited to `seconds` and never goes past `deadline`.
class ITlsSession {
 public:
  virtual ~ITlsSession() = default;
  // Sends every byte: `length`, or -1.
  virtual int Send(const char* data, int length) = 0;
  // Receives once: the bytes received (at most `length`), 0 when the peer closed, or -1.
  virtual int Recv(char* buffer, int length, int seconds, sock_clock::time_point deadline) = 0;
};

// A session, or the reason there is none.
struct TlsOpenResult {
  std::unique_ptr<ITlsSession> session;
  TlsFailure failure = TlsFailure::kOther;
};

// Makes client sessions. The process has one factory, set by the host: the control and
// pelprobe install the system's TLS provider; without one every session fails as kOther.
class ITlsChannelFactory {
 public:
  virtual ~ITlsChannelFactory() = default;
  // Takes `sock` (connected), performs the handshake for `host` (the name the certificate must
  // carry, also sent as the server name) and checks the certificate. Nothing of the caller's
  // own is sent. A session, or the failure with the socket closed.
  virtual TlsOpenResult Open(SocketHandle sock, const std::string& host, int seconds,
                             sock_clock::time_point deadline) = 0;
};

// Installs `factory` (nullptr for none) and answers the one it replaces. Called while no
// request runs (a module's load, a program's start).
ITlsChannelFactory* SetTlsChannelFactory(ITlsChannelFactory* factory);

// Opens a session through the installed factory.
TlsOpenResult OpenTlsSession(SocketHandle sock, const std::string& host, int seconds,
                             sock_clock::time_point deadline);

}  // namespace pel
