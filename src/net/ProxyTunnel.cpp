#include "net/ProxyTunnel.h"

#include <cstdio>
#include <cstring>

namespace pel {

int MakeConnectRequest(const char* host, unsigned short port, char* out, size_t outSize) {
  if (host == nullptr || out == nullptr || outSize == 0) return -1;
  const unsigned number = port;
  const int length = std::snprintf(out, outSize, "CONNECT %s:%u HTTP/1.1\r\nHost: %s:%u\r\n\r\n",
                                   host, number, host, number);
  if (length < 0 || static_cast<size_t>(length) >= outSize) {
    out[0] = '\0';
    return -1;
  }
  return length;
}

bool TunnelAccepted(const char* header, size_t length) {
  // "HTTP/1.x " then three digits and a blank or the line's end.
  static constexpr char kVersion[] = "HTTP/1.";
  constexpr size_t kVersionLength = sizeof kVersion - 1;
  constexpr size_t kStatus = kVersionLength + 2;
  if (header == nullptr || length < kStatus + 4) return false;
  if (std::memcmp(header, kVersion, kVersionLength) != 0) return false;
  const char minor = header[kVersionLength];
  if ((minor != '0' && minor != '1') || header[kVersionLength + 1] != ' ') return false;
  for (size_t i = kStatus; i < kStatus + 3; ++i) {
    if (header[i] < '0' || header[i] > '9') return false;
  }
  const char after = header[kStatus + 3];
  if (after != ' ' && after != '\r' && after != '\n') return false;
  return header[kStatus] == '2';
}

}  // namespace pel
