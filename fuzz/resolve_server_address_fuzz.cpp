// Feeds arbitrary bytes to ResolveServerAddress as an address text. Names are answered by a
// resolver that never touches the network: a name resolves when its length is even, to a
// dotted text made from its length. Checks what a caller relies on: the results' limits, and
// that a failure leaves every result empty.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "net/ResolveServerAddress.h"

using namespace pel;

namespace {
std::optional<std::string> OfflineResolver(const std::string& name) {
  if (name.empty() || name.size() > kMaxHostChars) std::abort();
  if (name.size() % 2 != 0) return std::nullopt;
  return "10.0." + std::to_string(name.size() / 256) + "." + std::to_string(name.size() % 256);
}

void Check(bool condition) {
  if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string host = "x";
  int port = -1;
  std::string user = "x";
  std::string password = "x";
  const int withCredentials =
      ResolveServerAddress(text, host, port, &user, &password, OfflineResolver);
  if (withCredentials == 0) {
    Check(host.size() <= kMaxHostChars);
    Check(host.find('\0') == std::string::npos);
    Check(port >= 0 && port <= 65535);
    Check(user.size() + password.size() <= kMaxCredentialChars);
    Check(user.find(':') == std::string::npos && user.find('@') == std::string::npos);
    Check(password.find('@') == std::string::npos);
    Check(host.find(':') == std::string::npos);
  } else {
    Check(withCredentials == -1);
    Check(host.empty() && port == 0 && user.empty() && password.empty());
  }

  // Without asking for credentials the host and port are the same, unless only the
  // credentials were too long.
  std::string bareHost;
  int barePort = -1;
  const int bare = ResolveServerAddress(text, bareHost, barePort, nullptr, nullptr,
                                        OfflineResolver);
  Check(bare == 0 || bare == -1);
  if (withCredentials == 0) Check(bare == 0 && bareHost == host && barePort == port);
  return 0;
}
