#pragma once

#include <string>
#include <vector>

#include "Common/SockUtil/SocketHandle.h"
#include "ports/TlsChannel.h"
#include "trust/win/SspiHandles.h"

namespace pel {

// Largest run of peer bytes held at once: a full TLS record (16 KiB of data and its
// overhead) or one flight of the handshake with a certificate chain. A peer that needs more
// is not speaking sane TLS and fails.
constexpr size_t kTlsInputArea = 32 * 1024;
// Largest number of bytes the whole handshake may take from the peer.
constexpr size_t kTlsHandshakeLimit = 128 * 1024;

// A TLS client session over Schannel on a connected socket, which it owns.
class SchannelSession : public ITlsSession {
 public:
  // The handshake with `host` within `seconds` per wait and `deadline`, then the certificate
  // check. Only handshake messages are sent.
  static TlsOpenResult Open(SocketHandle sock, const std::string& host, int seconds,
                            sock_clock::time_point deadline);

  // Tells the peer the session ends (close_notify) when it stands; the socket closes after.
  ~SchannelSession() override;

  int Send(const char* data, int length) override;
  int Recv(char* buffer, int length, int seconds, sock_clock::time_point deadline) override;

 private:
  explicit SchannelSession(SocketHandle sock);
  SchannelSession(const SchannelSession&) = delete;
  SchannelSession& operator=(const SchannelSession&) = delete;

  TlsFailure Handshake(const std::wstring& host, int seconds, sock_clock::time_point deadline);
  bool SendToken(const SecBuffer& token);
  void SendCloseNotify();
  // Receives more peer bytes after those held; false when the peer failed, closed or the area
  // is full.
  int ReceiveMore(int seconds, sock_clock::time_point deadline);
  // Keeps the SECBUFFER_EXTRA bytes (if any) of `buffers` at the area's start.
  void KeepExtra(const SecBuffer* buffers, int count);
  int TakePlain(char* buffer, int length);

  // Destroyed in reverse: the context before its credentials, the socket last.
  SocketHandle sock_;
  CredentialsHandle credentials_;
  SecurityContext context_;
  SecPkgContext_StreamSizes sizes_{};
  std::vector<char> input_;  // peer bytes not yet decrypted
  size_t inputLength_ = 0;
  std::vector<char> plain_;  // decrypted bytes not yet handed out
  size_t plainOffset_ = 0;
  bool closed_ = false;       // the peer ended the session
  bool established_ = false;  // the handshake completed
};

}  // namespace pel
