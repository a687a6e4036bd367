// Feeds arbitrary bytes to the browser's proxy exception matcher: the input is split at 0xFF
// bytes into the exception list, the written host and the dotted address; the first byte
// chooses the scheme and the port. Checks that an entry naming the written host (by itself or
// with a leading "*") always matches, and that a list of one blank entry never does.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzParts.h"
#include "trust/ProxyBypass.h"

using namespace pel;

namespace {
void Check(bool condition) {
  if (!condition) std::abort();
}

// A written host that a list entry can name as it is: no separator, wildcard, port, scheme or
// blank that the entry's own reading would take apart.
bool Plain(const std::string& host) {
  return !host.empty() && host.size() <= kMaxBypassEntryChars - 1 &&
         host.find_first_of(";*: \t") == std::string::npos && host[0] != '<';
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t flags = data[0];
  const std::vector<std::string> parts = pel::fuzz::SplitParts(data, size, 3);
  const BypassTarget target{(flags & 1) != 0, parts[1], parts[2], flags >> 1};

  ProxyBypassed(parts[0], target);
  if (Plain(parts[1])) {
    Check(ProxyBypassed(parts[1], target));
    Check(ProxyBypassed("x;*" + parts[1], target));
  }
  Check(!ProxyBypassed(" ", target));
  return 0;
}
