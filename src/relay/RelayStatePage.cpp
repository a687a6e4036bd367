#include "relay/RelayStatePage.h"

#include <cstdio>

namespace pel {

RelayStateValues ParseRelayStatePage(const PageText& page) {
  RelayStateValues values;
  values.dwDoData = static_cast<uint32_t>(page.NumberAfter("DO_DATA=", 0));
  for (int n = 0; n < kRelayOutputs; ++n) {
    char key[16];
    std::snprintf(key, sizeof key, "DONAME%d=\"", n);
    values.names[static_cast<size_t>(n)] = page.QuotedAfter(key, kMaxRelayNameChars);
  }
  return values;
}

std::string RelayStatePath(int32_t module) {
  char path[64];
  std::snprintf(path, sizeof path, kRelayStatePathFormat, static_cast<int>(module));
  return path;
}

std::string RelayRequestPath(int32_t module, uint32_t state) {
  char path[96];
  std::snprintf(path, sizeof path, kRelayRequestPathFormat, static_cast<int>(module),
                static_cast<unsigned>(state & 0xFFu), 1u);
  return path;
}

}  // namespace pel
