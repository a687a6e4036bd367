// Feeds arbitrary bytes to the server information page reader as a received response. The
// first 16 bytes (when there are that many) are the access words before the read; the rest is
// the page, copied into a buffer of exactly its size so that any read past the received bytes
// is caught. Checks what the reader hands to the module list.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "serverinfo/ServerPage.h"

using namespace pel;

namespace {
void Check(bool condition) {
  if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  AccessWords words{};
  if (size >= sizeof(uint32_t) * 4) {
    std::memcpy(words.data(), data, sizeof(uint32_t) * 4);
    data += sizeof(uint32_t) * 4;
    size -= sizeof(uint32_t) * 4;
  }
  if (size > 10240) size = 10240;
  std::vector<char> received(data, data + size);
  const PageText page(received.data(), received.size());
  const ServerPageValues v = ParseServerPage(page, words);

  Check(v.iAudioDeviceType == -1 || v.iAudioDeviceType == 0 || v.iAudioDeviceType == 1 ||
        v.iAudioDeviceType == 2 || v.iAudioDeviceType == 9);
  Check(v.bVoiceSerial == 0 || v.bVoiceSerial == 1);
  Check(v.type3Slots >= 0);
  int32_t previous = -1;
  for (const ModuleListEntry& entry : v.modules) {
    Check(entry.module > previous);
    previous = entry.module;
    Check(entry.name.size() <= kMaxModuleNameChars);
    Check(entry.name.find('\0') == std::string::npos);
    Check(ModuleListable(v.dwProperty, entry.module));
  }
  return 0;
}
