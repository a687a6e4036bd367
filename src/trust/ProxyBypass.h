#pragma once

#include <cstddef>
#include <string_view>

namespace pel {

// The server a request goes to, as the browser's proxy exceptions are compared with it.
struct BypassTarget {
  bool tls = false;               // https, else http
  std::string_view writtenHost;   // the host as the address wrote it
  std::string_view address;       // the dotted address it resolved to
  int port = 0;
};

// Entries after the first kMaxBypassEntries are not looked at; a longer entry than
// kMaxBypassEntryChars names nothing.
constexpr std::size_t kMaxBypassEntries = 256;
constexpr std::size_t kMaxBypassEntryChars = 255;

// Whether the browser's proxy exception list ("ProxyOverride") names the target, that is,
// whether the browser itself would reach it without its proxy. Entries are separated by ";"
// with blanks around them ignored and compared without regard to case; "*" stands for any run
// of characters. An entry may begin with "http://" or "https://", which the target's scheme
// must then match (any other scheme names nothing), and end in ":port", which its port must
// match. The rest is compared with the written host and with the dotted address. "<local>"
// names a host written without a dot, "localhost" and loopback addresses (127.0.0.0/8).
bool ProxyBypassed(std::string_view list, const BypassTarget& target);

}  // namespace pel
