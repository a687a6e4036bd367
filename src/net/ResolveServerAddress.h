#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "net/HostNameLookup.h"

namespace pel {

// Answers the dotted IPv4 text for a host name, or nothing when the name does not resolve.
using NameResolver = std::function<std::optional<std::string>(const std::string& name)>;

// Longest host text accepted, whether a name (it is resolved anyway) or taken literally.
constexpr std::size_t kMaxHostChars = 255;
// Longest user ID and password together: what the HTTP client can put into its authorization.
constexpr std::size_t kMaxCredentialChars = 56;

// Splits an address text of the form [user:password@]host[:port] and resolves the host.
// A host whose first character is an ASCII letter is a name and is replaced by the dotted text
// of its first address; any other host is taken literally. The port is the decimal number after
// the port separator (80 without one, 0 when no digit follows). The text ends at its first NUL.
// 0 on success, -1 for an empty text, a name that does not resolve, a port above 65535, a host
// longer than kMaxHostChars or (when they are asked for) credentials longer than
// kMaxCredentialChars. `user` and `password` may be null; on failure every result is cleared.
int ResolveServerAddress(std::string_view text, std::string& host, int& port,
                         std::string* user = nullptr, std::string* password = nullptr,
                         const NameResolver& resolve = LookupHostIPv4);

}  // namespace pel
