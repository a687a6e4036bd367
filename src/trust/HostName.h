#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pel {

enum class HostKind { Name, IPv4, IPv6 };

// A host as the site lock compares it: lower case, without the one trailing dot a DNS name may
// carry, IPv4 as a dotted quad, IPv6 in brackets in its shortest form.
struct CanonicalHost {
  HostKind kind = HostKind::Name;
  std::string text;
};

// Longest host text looked at, brackets or a trailing dot included.
constexpr std::size_t kMaxHostTextChars = 256;

// The canonical form of a host written in a URL's authority or in an AllowedSites entry, or
// nothing when the text is anything but a plain host. Refused: percent-encoding, credentials,
// ports, white space and anything outside ASCII letters, digits, "-", "_" and "."; empty
// labels and labels over 63 characters; a name whose last label is a number but which is not
// a canonical dotted quad (browsers read "127.1", "0x7f.0.0.1", "2130706433" and "010.0.0.1"
// as addresses, each in its own way); IPv6 with a zone.
std::optional<CanonicalHost> CanonicaliseHost(std::string_view text);

struct HostAndPort {
  CanonicalHost host;
  int port = 0;  // 0 when none is written
};

// "host", "host:port", "[IPv6]" or "[IPv6]:port" as written in a URL's authority; the port
// 1..65535 in at most five digits. Nothing when either part is bad or a ":" has no port after it.
std::optional<HostAndPort> ReadHostAndPort(std::string_view authority);

}  // namespace pel
