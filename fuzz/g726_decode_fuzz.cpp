// Received G.726 payloads of any length into outputs of exactly the size they need (and one
// sample less), and any bytes as PCM into the encoder.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "audio/codec/G726Codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pel::G726Codec codec;
  const size_t samples = size * 8 / 3;

  std::vector<uint8_t> exact(2 * samples);
  if (codec.Decode(data, size, exact.data(), exact.size()) != static_cast<int>(samples)) {
    __builtin_trap();
  }
  if (samples > 0) {
    std::vector<uint8_t> short1(2 * samples - 2);
    if (codec.Decode(data, size, short1.data(), short1.size()) != 0) __builtin_trap();
  }

  const size_t pcmSamples = size / 2;
  std::vector<uint8_t> payload(pcmSamples / 8 * 3);
  if (codec.Encode(data, pcmSamples, payload.data(), payload.size()) !=
      static_cast<int>(payload.size())) {
    __builtin_trap();
  }
  return 0;
}
