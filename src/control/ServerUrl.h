#pragma once

#include <string_view>

namespace pel {

// The port an https address means when it names none.
constexpr int kHttpsPort = 443;

// An address text with its "http://" or "https://" (exact case) removed, and which of them it
// carried: `tls` for "https://", `scheme` false when it carried neither.
struct SchemeSplit {
  std::string_view rest;
  bool scheme = false;
  bool tls = false;
};
SchemeSplit SplitScheme(std::string_view text);

// The host of an address text of the form [user:password@]host[:port], as written: after the
// first "@" when there is one, up to the port separator (the first ":" after that).
std::string_view WrittenHost(std::string_view address);

// Whether such an address has a port separator.
bool NamesPort(std::string_view address);

}  // namespace pel
