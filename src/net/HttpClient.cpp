#include "net/HttpClient.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "Common/SockUtil/NetInit.h"
#include "Common/SockUtil/SocketHandle.h"
#include "net/HeaderEndRecogniser.h"
#include "net/ProxyTunnel.h"
#include "net/ResponseLength.h"
#include "ports/Diagnostics.h"

namespace pel {

namespace {

bool HasText(const char* text) { return text != nullptr && text[0] != '\0'; }
const char* OrEmpty(const char* text) { return text != nullptr ? text : ""; }

sock_clock::time_point ReadDeadline() {
  return sock_clock::now() + std::chrono::seconds(kHttpReadLimitSeconds);
}

int TlsFailureCode(TlsFailure failure) {
  switch (failure) {
    case TlsFailure::kUntrusted:
      return HTTP_GET_TLS_UNTRUSTED;
    case TlsFailure::kExpired:
      return HTTP_GET_TLS_EXPIRED;
    case TlsFailure::kWrongName:
      return HTTP_GET_TLS_WRONG_NAME;
    default:
      return HTTP_GET_TLS_FAILED;
  }
}

// Asks the proxy on `stream` for a tunnel to `host`:`port`; 0 once it answered with a 2xx
// status, or the failure code. The proxy sees the host as written, so that its own rules and
// logs see the name the certificate will be checked against.
int OpenTunnel(HttpStream& stream, const char* host, unsigned short port,
               sock_clock::time_point deadline) {
  char request[kHttpRequestArea];
  const int length = MakeConnectRequest(host, port, request, sizeof request);
  if (length < 0 || stream.SendAll(request, length) < 0) return HTTP_GET_FAILED;
  char answer[kTunnelAnswerArea];
  const int answerLength =
      ReadResponseHeader(stream, answer, static_cast<int>(sizeof answer), deadline);
  if (answerLength <= 0) return HTTP_GET_FAILED;
  HeaderEndRecogniser complete;
  for (int i = 0; i < answerLength; ++i) complete.Feed(answer[i]);
  if (!complete.Done()) return HTTP_GET_PROXY_REFUSED;  // longer than any tunnel answer
  return TunnelAccepted(answer, static_cast<size_t>(answerLength)) ? 0 : HTTP_GET_PROXY_REFUSED;
}

// Composes the request: over TLS the URL and Host name the server as written (front ends pick
// the site by that name); over plain http both carry the dotted address.
int ComposeRequest(char* request, size_t size, const char* scheme, const char* host,
                   unsigned short port, const char* path, const char* auth) {
  const int length = std::snprintf(
      request, size, "GET %s://%s:%u%s HTTP/1.1\r\nHost: %s\r\nConnection: Keep-Alive\r\n%s\r\n",
      scheme, host, static_cast<unsigned>(port), OrEmpty(path), host, auth);
  return length < 0 || static_cast<size_t>(length) >= size ? -1 : length;
}

HttpStream SendGet(const char* path, const char* serverAddress, unsigned short serverPort,
                   const char* userId, const char* password, const char* proxyAddress,
                   unsigned short proxyPort, const char* tlsHost,
                   sock_clock::time_point deadline, int& failure) {
  return HttpOpenRequest(serverAddress, serverPort, userId, password, path, kHttpTimeoutSeconds,
                         proxyAddress, proxyPort, tlsHost, deadline, failure);
}

}  // namespace

int MakeBasicAuthHeader(const char* userId, const char* password, const char* name, char* out,
                        size_t outSize) {
  if (out == nullptr) return -1;
  const std::string plain = std::string(OrEmpty(userId)) + ":" + OrEmpty(password);
  const size_t encodedLength = 4 * ((plain.size() + 2) / 3);
  std::string encoded(encodedLength + 1, '\0');
  if (base64_encode(reinterpret_cast<const unsigned char*>(plain.data()), plain.size(),
                    &encoded[0], encoded.size()) < 0) {
    if (outSize > 0) out[0] = '\0';
    return -1;
  }
  const char* header = OrEmpty(name);
  // name + ": Basic " + Base64 + CR LF + terminator
  if (std::strlen(header) + encodedLength + 11 > outSize) {
    if (outSize > 0) out[0] = '\0';
    return -1;
  }
  return std::snprintf(out, outSize, "%s: Basic %s\r\n", header, encoded.c_str());
}

HttpStream HttpOpenRequest(const char* serverAddress, unsigned short serverPort,
                           const char* userId, const char* password, const char* path,
                           int timeoutSeconds, const char* proxyAddress,
                           unsigned short proxyPort, const char* tlsHost,
                           sock_clock::time_point deadline, int& failure) {
  failure = HTTP_GET_FAILED;
  // Page reads must not depend on some other part of the control having started Winsock
  // first; after the first call this is one check of a flag.
  if (!EnsureSocketLibrary()) {
    ReportDiagnostic("socket error");
    return HttpStream();
  }
  SocketHandle sock(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  if (!sock.valid()) {
    ReportDiagnostic("socket error");
    return HttpStream();
  }

  const bool viaProxy = HasText(proxyAddress);
  sockaddr_in target{};
  if (sock_make_addr(viaProxy ? proxyAddress : serverAddress, viaProxy ? proxyPort : serverPort,
                     &target) < 0 ||
      sock_connect_timeout(sock.ref(), &target, timeoutSeconds) < 0) {
    ReportDiagnostic("connect error");
    return HttpStream();
  }

  char auth[kHttpAuthArea] = {};
  if (HasText(userId) || HasText(password)) {
    if (MakeBasicAuthHeader(userId, password, "Authorization", auth, sizeof auth) < 0) {
      return HttpStream();
    }
  }

  char request[kHttpRequestArea];
  if (HasText(tlsHost)) {
    const int length =
        ComposeRequest(request, sizeof request, "https", tlsHost, serverPort, path, auth);
    if (length < 0) return HttpStream();
    HttpStream plain(std::move(sock));
    if (viaProxy) {
      const int tunnel = OpenTunnel(plain, tlsHost, serverPort, deadline);
      if (tunnel < 0) {
        failure = tunnel;
        return HttpStream();
      }
    }
    // Not a byte of the request goes out before the certificate has been checked.
    TlsOpenResult opened = OpenTlsSession(plain.TakeSocket(), tlsHost, timeoutSeconds, deadline);
    if (opened.session == nullptr) {
      failure = TlsFailureCode(opened.failure);
      ReportDiagnosticF("secure connection to %s failed (%d)", tlsHost, failure);
      return HttpStream();
    }
    HttpStream secure(std::move(opened.session));
    if (secure.SendAll(request, length) < 0) return HttpStream();
    return secure;
  }

  // The request line names the server by its numeric address, also through a proxy.
  sockaddr_in server = target;
  if (viaProxy && sock_make_addr(serverAddress, serverPort, &server) < 0) return HttpStream();
  char dotted[kHttpDottedArea];
  if (sock_addr_to_string(reinterpret_cast<const unsigned char*>(&server.sin_addr), dotted,
                          sizeof dotted) == nullptr) {
    return HttpStream();
  }
  const int length = ComposeRequest(request, sizeof request, "http", dotted, serverPort, path, auth);
  if (length < 0) return HttpStream();

  if (sock_send_all(sock.get(), request, length, 0) < 0) return HttpStream();
  return HttpStream(std::move(sock));
}

int ReadResponseHeader(HttpStream& stream, char* buffer, int size,
                       sock_clock::time_point deadline) {
  if (buffer == nullptr || size <= 0) return 0;
  HeaderEndRecogniser recogniser;
  int count = 0;
  while (count < size) {
    if (stream.ReceiveUntil(buffer + count, 1, kHttpTimeoutSeconds, nullptr, deadline) != 1) {
      return HTTP_GET_FAILED;
    }
    if (recogniser.Feed(buffer[count++])) break;
  }
  return count;
}

int HttpGet(const char* path, const char* serverAddress, unsigned short serverPort,
            const char* userId, const char* password, char* buffer, int bufferSize,
            const char* proxyAddress, unsigned short proxyPort, const char* tlsHost) {
  if (buffer == nullptr) return HTTP_GET_NO_BUFFER;
  const sock_clock::time_point deadline = ReadDeadline();
  int failure = HTTP_GET_FAILED;
  HttpStream stream = SendGet(path, serverAddress, serverPort, userId, password, proxyAddress,
                              proxyPort, tlsHost, deadline, failure);
  if (!stream.valid()) return failure;

  // A server that honours "Connection: Keep-Alive" does not close after the response, so a
  // response that announces its length ends when that many body bytes are in.
  ResponseProgress progress;
  const int received = stream.ReceiveUntil(
      buffer, bufferSize, kHttpTimeoutSeconds,
      [&](int count) { return progress.Complete(buffer, static_cast<size_t>(count)); },
      deadline);
  if (received < 0) return HTTP_GET_FAILED;
  stream.Close();
  return received;
}

int HttpGetSized(const char* path, const char* serverAddress, unsigned short serverPort,
                 const char* userId, const char* password, char* buffer, int bufferSize,
                 const char* proxyAddress, unsigned short proxyPort, const char* tlsHost) {
  if (buffer == nullptr) return HTTP_GET_NO_BUFFER;
  const sock_clock::time_point deadline = ReadDeadline();
  int failure = HTTP_GET_FAILED;
  HttpStream stream = SendGet(path, serverAddress, serverPort, userId, password, proxyAddress,
                              proxyPort, tlsHost, deadline, failure);
  if (!stream.valid()) return failure;

  const int headerLength = ReadResponseHeader(stream, buffer, bufferSize, deadline);
  if (headerLength <= 0) return headerLength == 0 ? 0 : HTTP_GET_FAILED;

  const long long bodyLength = ContentLengthOf(buffer, static_cast<size_t>(headerLength));
  if (bodyLength < 0) {
    stream.Close();
    return headerLength;
  }
  if (headerLength + bodyLength > bufferSize) return HTTP_GET_FAILED;
  const int body = stream.ReceiveUntil(buffer + headerLength, static_cast<int>(bodyLength),
                                       kHttpTimeoutSeconds, nullptr, deadline);
  if (body < 0) return HTTP_GET_FAILED;
  stream.Close();
  return headerLength + body;  // only what arrived, also when the peer closed early
}

}  // namespace pel
