// Feeds arbitrary bytes to the module information page reader as a received response, and
// the first 20 bytes (when there are that many) to the rights computation as four access
// words and a module number. The page is copied into a buffer of exactly its size so that any
// read past the received bytes is caught.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "serverinfo/ModulePage.h"

using namespace pel;

namespace {
void Check(bool condition) {
  if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  AccessWords words{};
  int32_t module = 0;
  if (size >= 20) {
    std::memcpy(words.data(), data, 16);
    std::memcpy(&module, data + 16, 4);
    data += 20;
    size -= 20;
  }
  if (size > 10240) size = 10240;
  std::vector<char> received(data, data + size);
  const ModulePageValues v = ParseModulePage(PageText(received.data(), received.size()));
  for (int n = 0; n < 6; ++n) {
    const auto& title = v.titles[static_cast<size_t>(n)];
    if (!title) continue;
    Check(n < v.iNumCam);
    Check(title->size() <= kMaxCameraTitleChars);
  }

  const ModuleRights r = RightsForModule(words, module);
  const bool all = words[0] == 0xFFFFFFFFu && words[1] == 0xFFFFFFFFu &&
                   words[2] == 0xFFFFFFFFu && words[3] == 0xFFFFFFFFu;
  if (!all) {
    // Channels reach bit 14 at most.
    Check(((r.dwViewRights | r.dwPtzRights | r.dwRelayRights | r.dwAudioRights) >> 15) == 0);
  }
  if (module < 0 || module > 255) Check(all || (r.dwViewRights | r.dwPtzRights | r.dwRelayRights | r.dwAudioRights) == 0);
  return 0;
}
