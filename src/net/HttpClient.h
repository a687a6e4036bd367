#pragma once

#include <cstddef>

#include "Common/SockUtil/sock_util.h"
#include "net/HttpStream.h"

namespace pel {

// Result codes of HttpGet and HttpGetSized; 0 or more is the number of response bytes read.
constexpr int HTTP_GET_FAILED = -2;     // socket, connect, authorization, send or receive failed
constexpr int HTTP_GET_NO_BUFFER = -6;  // no receive buffer; nothing was sent
// A secure connection could not be set up; nothing of the request was sent.
constexpr int HTTP_GET_TLS_UNTRUSTED = -10;   // the certificate has no trusted root
constexpr int HTTP_GET_TLS_EXPIRED = -11;     // the certificate is out of date
constexpr int HTTP_GET_TLS_WRONG_NAME = -12;  // the certificate names another host
constexpr int HTTP_GET_TLS_FAILED = -13;      // any other failure of the secure connection
constexpr int HTTP_GET_PROXY_REFUSED = -14;   // the proxy did not open a tunnel (CONNECT)

// Time limit of the connect and of every wait for response bytes.
constexpr int kHttpTimeoutSeconds = 5;
// Time limit of a whole request, from its start to its last byte, however slowly the bytes
// come; running out of it fails the read as a wait that ran out does.
constexpr int kHttpReadLimitSeconds = 15;

// Areas in which a request is composed.
constexpr size_t kHttpRequestArea = 512;
constexpr size_t kHttpAuthArea = 100;
constexpr size_t kHttpDottedArea = 32;

// GET `path` from the server (directly, or through the proxy when `proxyAddress` is given
// and not empty) and read the raw response into `buffer` until the peer closes, the buffer is
// full, or a response announcing "Content-Length:" is complete. No terminator is added.
// With a `tlsHost` (not empty) the request goes over TLS to the server at `serverAddress`,
// whose certificate must name `tlsHost`; through a proxy by CONNECT.
int HttpGet(const char* path, const char* serverAddress, unsigned short serverPort,
            const char* userId, const char* password, char* buffer, int bufferSize,
            const char* proxyAddress, unsigned short proxyPort, const char* tlsHost = nullptr);

// GET `path` and read the response header up to its empty line, then the body bytes that its
// "Content-Length:" announces (none without that field). Counts only bytes that arrived.
int HttpGetSized(const char* path, const char* serverAddress, unsigned short serverPort,
                 const char* userId, const char* password, char* buffer, int bufferSize,
                 const char* proxyAddress, unsigned short proxyPort,
                 const char* tlsHost = nullptr);

// Connects (to the proxy when one is given), sets up TLS for `tlsHost` when one is given, and
// sends the request; every wait ends by `deadline`. The open stream, or an invalid one with
// the failure's result code in `failure`.
HttpStream HttpOpenRequest(const char* serverAddress, unsigned short serverPort,
                           const char* userId, const char* password, const char* path,
                           int timeoutSeconds, const char* proxyAddress,
                           unsigned short proxyPort, const char* tlsHost,
                           sock_clock::time_point deadline, int& failure);

// "<name>: Basic <base64 of user:password>\r\n" into `out`: the line's length, or -1 (and an
// empty `out`) when the line and its terminator do not fit in `outSize` bytes.
int MakeBasicAuthHeader(const char* userId, const char* password, const char* name, char* out,
                        size_t outSize);

// Receives the response header one byte at a time up to and including its empty line, or
// until `size` bytes arrived: the header length, or HTTP_GET_FAILED when the peer closed,
// failed or stayed silent first, or `deadline` came. Reads no byte past the header.
int ReadResponseHeader(HttpStream& stream, char* buffer, int size,
                       sock_clock::time_point deadline = SOCK_NO_DEADLINE);

}  // namespace pel
