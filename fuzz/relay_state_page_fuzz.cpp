// Feeds arbitrary bytes to the relay state page reader as a received response (at most the
// 1024 bytes the dialog reads), copied into a buffer of exactly its size so that any read past
// the received bytes is caught, and checks what the dialog relies on: names within their area,
// none holding a quote or a NUL.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "relay/RelayStatePage.h"

using namespace pel;

namespace {
void Check(bool condition) {
  if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > kRelayBufferSize) size = kRelayBufferSize;
  std::vector<char> received(data, data + size);
  const RelayStateValues v = ParseRelayStatePage(PageText(received.data(), received.size()));
  for (const auto& name : v.names) {
    if (!name) continue;
    Check(name->size() <= kMaxRelayNameChars);
    Check(name->find('"') == std::string::npos);
    Check(name->find('\0') == std::string::npos);
  }
  return 0;
}
