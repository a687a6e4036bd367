#include "control/ServerUrl.h"

namespace pel {

namespace {
constexpr std::string_view kHttpPrefix = "http://";
constexpr std::string_view kHttpsPrefix = "https://";

// What follows the credentials: the host and the port, as the address resolver splits them.
std::string_view HostAndPort(std::string_view address) {
  const std::size_t at = address.find('@');
  return at == std::string_view::npos ? address : address.substr(at + 1);
}
}  // namespace

SchemeSplit SplitScheme(std::string_view text) {
  if (text.substr(0, kHttpPrefix.size()) == kHttpPrefix) {
    return {text.substr(kHttpPrefix.size()), true, false};
  }
  if (text.substr(0, kHttpsPrefix.size()) == kHttpsPrefix) {
    return {text.substr(kHttpsPrefix.size()), true, true};
  }
  return {text, false, false};
}

std::string_view WrittenHost(std::string_view address) {
  const std::string_view rest = HostAndPort(address);
  return rest.substr(0, rest.find(':'));
}

bool NamesPort(std::string_view address) {
  return HostAndPort(address).find(':') != std::string_view::npos;
}

}  // namespace pel
