#pragma once

#include <cstdint>

#include "audio/codec/ImaAdpcm.h"

namespace pel {

constexpr int kImaHeaderBytes = 64;

// Writes the 64-byte header of an IMA block: an MPEG audio PES packet header whose
// presentation and decoding time stamps both come from the millisecond clock value (on a
// 90 kHz clock), then the coder state the codes start from, twice: predictor
// (little-endian) and index at bytes 56-58 and again at 60-62, which the receiver reads.
// Bytes 59 and 63 are zero.
void WriteImaBlockHeader(uint8_t* block, uint32_t milliseconds, const ima::State& state);

// The state a received block starts from (bytes 60-62), its index kept within the step
// table.
ima::State ReadImaBlockState(const uint8_t* block);

}  // namespace pel
