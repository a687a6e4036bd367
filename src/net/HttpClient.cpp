#include "net/HttpClient.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "Common/SockUtil/NetInit.h"
#include "Common/SockUtil/SocketHandle.h"
#include "net/ResponseLength.h"
#include "ports/Diagnostics.h"

namespace pel {

namespace {

bool HasText(const char* text) { return text != nullptr && text[0] != '\0'; }
const char* OrEmpty(const char* text) { return text != nullptr ? text : ""; }

sock_clock::time_point ReadDeadline() {
  return sock_clock::now() + std::chrono::seconds(kHttpReadLimitSeconds);
}

SocketHandle SendGet(const char* path, const char* serverAddress, unsigned short serverPort,
                     const char* userId, const char* password, const char* proxyAddress,
                     unsigned short proxyPort) {
  return SocketHandle(HttpOpenRequest(serverAddress, serverPort, userId, password, path,
                                      kHttpTimeoutSeconds, proxyAddress, proxyPort));
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

sock_t HttpOpenRequest(const char* serverAddress, unsigned short serverPort, const char* userId,
                       const char* password, const char* path, int timeoutSeconds,
                       const char* proxyAddress, unsigned short proxyPort) {
  // Page reads must not depend on some other part of the control having started Winsock
  // first; after the first call this is one check of a flag.
  if (!EnsureSocketLibrary()) {
    ReportDiagnostic("socket error");
    return SOCK_NONE;
  }
  SocketHandle sock(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  if (!sock.valid()) {
    ReportDiagnostic("socket error");
    return SOCK_NONE;
  }

  const bool viaProxy = HasText(proxyAddress);
  sockaddr_in target{};
  if (sock_make_addr(viaProxy ? proxyAddress : serverAddress, viaProxy ? proxyPort : serverPort,
                     &target) < 0 ||
      sock_connect_timeout(sock.ref(), &target, timeoutSeconds) < 0) {
    ReportDiagnostic("connect error");
    return SOCK_NONE;
  }

  char auth[kHttpAuthArea] = {};
  if (HasText(userId) || HasText(password)) {
    if (MakeBasicAuthHeader(userId, password, "Authorization", auth, sizeof auth) < 0) {
      return SOCK_NONE;
    }
  }

  // The request line names the server by its numeric address, also through a proxy.
  sockaddr_in server = target;
  if (viaProxy && sock_make_addr(serverAddress, serverPort, &server) < 0) return SOCK_NONE;
  char dotted[kHttpDottedArea];
  if (sock_addr_to_string(reinterpret_cast<const unsigned char*>(&server.sin_addr), dotted,
                          sizeof dotted) == nullptr) {
    return SOCK_NONE;
  }

  char request[kHttpRequestArea];
  const int length = std::snprintf(
      request, sizeof request,
      "GET http://%s:%u%s HTTP/1.1\r\nHost: %s\r\nConnection: Keep-Alive\r\n%s\r\n", dotted,
      static_cast<unsigned>(serverPort), OrEmpty(path), dotted, auth);
  if (length < 0 || static_cast<size_t>(length) >= sizeof request) return SOCK_NONE;

  if (sock_send_all(sock.get(), request, length, 0) < 0) return SOCK_NONE;
  return sock.release();
}

int ReadResponseHeader(sock_t& sock, char* buffer, int size, sock_clock::time_point deadline) {
  if (buffer == nullptr || size <= 0) return 0;
  HeaderEndRecogniser recogniser;
  int count = 0;
  while (count < size) {
    if (sock_recv_all(sock, buffer + count, 1, 0, kHttpTimeoutSeconds, deadline) != 1) {
      return HTTP_GET_FAILED;
    }
    if (recogniser.Feed(buffer[count++])) break;
  }
  return count;
}

void HttpClose(sock_t sock) { sock_close(sock); }

int HttpGet(const char* path, const char* serverAddress, unsigned short serverPort,
            const char* userId, const char* password, char* buffer, int bufferSize,
            const char* proxyAddress, unsigned short proxyPort) {
  if (buffer == nullptr) return HTTP_GET_NO_BUFFER;
  const sock_clock::time_point deadline = ReadDeadline();
  SocketHandle sock = SendGet(path, serverAddress, serverPort, userId, password, proxyAddress,
                              proxyPort);
  if (!sock.valid()) return HTTP_GET_FAILED;

  // A server that honours "Connection: Keep-Alive" does not close after the response, so a
  // response that announces its length ends when that many body bytes are in.
  ResponseProgress progress;
  const int received = sock_recv_until(
      sock.ref(), buffer, bufferSize, 0, kHttpTimeoutSeconds,
      [&](int count) { return progress.Complete(buffer, static_cast<size_t>(count)); },
      deadline);
  if (received < 0) return HTTP_GET_FAILED;
  HttpClose(sock.release());
  return received;
}

int HttpGetSized(const char* path, const char* serverAddress, unsigned short serverPort,
                 const char* userId, const char* password, char* buffer, int bufferSize,
                 const char* proxyAddress, unsigned short proxyPort) {
  if (buffer == nullptr) return HTTP_GET_NO_BUFFER;
  const sock_clock::time_point deadline = ReadDeadline();
  SocketHandle sock = SendGet(path, serverAddress, serverPort, userId, password, proxyAddress,
                              proxyPort);
  if (!sock.valid()) return HTTP_GET_FAILED;

  const int headerLength = ReadResponseHeader(sock.ref(), buffer, bufferSize, deadline);
  if (headerLength <= 0) return headerLength == 0 ? 0 : HTTP_GET_FAILED;

  const long long bodyLength = ContentLengthOf(buffer, static_cast<size_t>(headerLength));
  if (bodyLength < 0) {
    HttpClose(sock.release());
    return headerLength;
  }
  if (headerLength + bodyLength > bufferSize) return HTTP_GET_FAILED;
  const int body = sock_recv_all(sock.ref(), buffer + headerLength, static_cast<int>(bodyLength),
                                 0, kHttpTimeoutSeconds, deadline);
  if (body < 0) return HTTP_GET_FAILED;
  HttpClose(sock.release());
  return headerLength + body;  // only what arrived, also when the peer closed early
}

}  // namespace pel
