#pragma once

#include <cstddef>

namespace pel {

// Size of the area a proxy's answer to CONNECT is read into; a longer header is refused.
constexpr size_t kTunnelAnswerArea = 1024;

// "CONNECT <host>:<port> HTTP/1.1\r\nHost: <host>:<port>\r\n\r\n" into `out`: its length, or
// -1 when it does not fit in `outSize` bytes. No credentials go to the proxy.
int MakeConnectRequest(const char* host, unsigned short port, char* out, size_t outSize);

// Whether a proxy's answer header (its first `length` bytes) opens the tunnel: a status line
// "HTTP/1.x NNN" with a 2xx status.
bool TunnelAccepted(const char* header, size_t length);

}  // namespace pel
