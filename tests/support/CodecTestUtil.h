#pragma once

// Helpers for the audio codec tests: PCM byte buffers, 3-bit code streams and a tone.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pel::test {

// 16-bit samples as little-endian bytes, and back.
std::vector<uint8_t> PcmBytes(const std::vector<int>& samples);
std::vector<int> PcmSamples(const uint8_t* bytes, size_t count);

// 3-bit codes as a bit stream, least significant bits first, and back.
std::vector<uint8_t> PackCodes3(const std::vector<int>& codes);
std::vector<int> UnpackCodes3(const std::vector<uint8_t>& bytes, size_t count);

// A sine of `frequency` Hz at 8000 samples per second.
std::vector<int> Tone(size_t count, double frequency, double amplitude);

// Signal-to-noise ratio in dB of `actual` against `expected`, from sample `from` on.
double SnrDb(const std::vector<int>& expected, const std::vector<int>& actual, size_t from);

}  // namespace pel::test
