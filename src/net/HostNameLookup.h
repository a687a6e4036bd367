#pragma once

#include <optional>
#include <string>

namespace pel {

// Looks a host name up with the platform's resolver (IPv4 only) and answers the dotted text of
// the first address found, or nothing when the name does not resolve. Blocks for as long as the
// resolver takes; starts the socket library first where the platform needs it.
std::optional<std::string> LookupHostIPv4(const std::string& name);

}  // namespace pel
