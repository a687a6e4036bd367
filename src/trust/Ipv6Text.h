#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pel {

// The shortest text of an IPv6 address written between a URL's brackets (lower-case hex, no
// leading zeros, the first longest run of two or more zero groups as "::", an embedded IPv4
// tail as hex groups), or nothing when the text is not an address; zones are refused.
std::optional<std::string> CanonicalIpv6(std::string_view text);

}  // namespace pel
