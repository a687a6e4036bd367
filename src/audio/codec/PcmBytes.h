#pragma once

#include <cstdint>

namespace pel {

// 16-bit PCM samples as the wave devices hold them: little-endian, any alignment.
inline int16_t ReadPcmSample(const uint8_t* bytes) {
  return static_cast<int16_t>(static_cast<uint16_t>(bytes[0] | (bytes[1] << 8)));
}

inline void WritePcmSample(uint8_t* bytes, int16_t sample) {
  const auto bits = static_cast<uint16_t>(sample);
  bytes[0] = static_cast<uint8_t>(bits & 0xFF);
  bytes[1] = static_cast<uint8_t>(bits >> 8);
}

}  // namespace pel
