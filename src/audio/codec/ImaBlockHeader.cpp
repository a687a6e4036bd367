#include "audio/codec/ImaBlockHeader.h"

#include <algorithm>
#include <cstring>

#include "audio/codec/PcmBytes.h"

namespace pel {

namespace {

// A 33-bit time stamp in the five-byte PES layout, with `prefix` in the first byte's top bits
// and a marker bit after each part.
void PutTimeStamp(uint8_t* out, uint8_t prefix, uint64_t stamp) {
  const auto middle = static_cast<uint32_t>(((stamp >> 15) & 0x7FFF) << 1) + 1;
  const auto low = static_cast<uint32_t>((stamp & 0x7FFF) << 1) + 1;
  out[0] = static_cast<uint8_t>(prefix + (((stamp >> 30) & 7) << 1));
  out[1] = static_cast<uint8_t>(middle >> 8);
  out[2] = static_cast<uint8_t>(middle);
  out[3] = static_cast<uint8_t>(low >> 8);
  out[4] = static_cast<uint8_t>(low);
}

void PutState(uint8_t* out, const ima::State& state) {
  WritePcmSample(out, static_cast<int16_t>(state.predictor));
  out[2] = static_cast<uint8_t>(state.index);
  out[3] = 0;
}

}  // namespace

void WriteImaBlockHeader(uint8_t* block, uint32_t milliseconds, const ima::State& state) {
  // Start code of audio stream 0, packet length 2106 (the block less six bytes), flags with
  // both time stamps, 23 bytes of header data.
  static constexpr uint8_t kStart[9] = {0x00, 0x00, 0x01, 0xC0, 0x08, 0x3A, 0x87, 0xC0, 0x17};
  static constexpr uint8_t kTail[13] = {0x0F, 0x8B, 0x80, 0x18, 0x00, 0x80, 0x18,
                                        0x40, 0x00, 0x11, 0x01, 0x00, 0xFF};
  const uint32_t ticks45 = milliseconds * 45u;  // modulo 2^32
  const uint64_t stamp = static_cast<uint64_t>(ticks45) * 2;

  std::memcpy(block, kStart, sizeof kStart);
  PutTimeStamp(block + 9, 0x31, stamp);
  PutTimeStamp(block + 14, 0x11, stamp);
  std::memcpy(block + 19, kTail, sizeof kTail);
  std::memset(block + 32, 0xFF, 24);
  PutState(block + 56, state);
  PutState(block + 60, state);
}

ima::State ReadImaBlockState(const uint8_t* block) {
  ima::State state;
  state.predictor = ReadPcmSample(block + 60);
  state.index = std::min<int>(block[62], ima::kMaxIndex);
  return state;
}

}  // namespace pel
