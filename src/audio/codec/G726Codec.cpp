#include "audio/codec/G726Codec.h"

#include <algorithm>
#include <climits>

#include "audio/codec/PcmBytes.h"

namespace pel {

namespace {

constexpr size_t kGroupCodes = 8;  // codes per three bytes
constexpr size_t kGroupBytes = 3;
constexpr size_t kChunkGroups = 64;
constexpr size_t kChunkCodes = kChunkGroups * kGroupCodes;

void PackGroup(const uint8_t* codes, uint8_t* out) {
  uint32_t word = 0;
  for (size_t k = 0; k < kGroupCodes; ++k) word |= static_cast<uint32_t>(codes[k]) << (3 * k);
  out[0] = static_cast<uint8_t>(word);
  out[1] = static_cast<uint8_t>(word >> 8);
  out[2] = static_cast<uint8_t>(word >> 16);
}

// `count` codes (at most eight) from the `length` bytes at `in` (at most three).
void UnpackCodes(const uint8_t* in, size_t length, size_t count, uint8_t* codes) {
  uint32_t word = 0;
  for (size_t k = 0; k < length; ++k) word |= static_cast<uint32_t>(in[k]) << (8 * k);
  for (size_t k = 0; k < count; ++k) codes[k] = static_cast<uint8_t>((word >> (3 * k)) & 7);
}

}  // namespace

int G726Codec::Decode(const uint8_t* input, size_t inputLength, uint8_t* output,
                      size_t outputCapacity) {
  if (pending_.DropsBlock()) return 0;
  if (input == nullptr || output == nullptr || inputLength > INT_MAX / 8) return 0;
  const size_t samples = inputLength * 8 / 3;
  if (samples > outputCapacity / 2) return 0;

  // Groups of eight codes in three bytes; a last part group has one or two bytes.
  const size_t groups = (samples + kGroupCodes - 1) / kGroupCodes;
  uint8_t codes[kChunkCodes];
  int16_t pcm[kChunkCodes];
  for (size_t first = 0; first < groups; first += kChunkGroups) {
    const size_t end = std::min(groups, first + kChunkGroups);
    size_t count = 0;
    for (size_t group = first; group < end; ++group) {
      const size_t take = std::min(kGroupCodes, samples - group * kGroupCodes);
      const size_t bytes = std::min(kGroupBytes, inputLength - group * kGroupBytes);
      UnpackCodes(input + group * kGroupBytes, bytes, take, codes + count);
      count += take;
    }
    g726::DecodeBlock(decoder_, g726::kRate24, codes, count, pcm);
    uint8_t* out = output + first * kGroupCodes * 2;
    for (size_t i = 0; i < count; ++i) WritePcmSample(out + 2 * i, pcm[i]);
  }
  return static_cast<int>(samples);
}

int G726Codec::Encode(const uint8_t* input, size_t inputLength, uint8_t* output,
                      size_t outputCapacity) {
  if (input == nullptr || output == nullptr || inputLength > INT_MAX / 2) return 0;
  const size_t groups = inputLength / kGroupCodes;
  if (groups * kGroupBytes > outputCapacity) return 0;

  int16_t pcm[kChunkCodes];
  uint8_t codes[kChunkCodes];
  for (size_t group = 0; group < groups; group += kChunkGroups) {
    const size_t chunkGroups = std::min(kChunkGroups, groups - group);
    const size_t count = chunkGroups * kGroupCodes;
    const uint8_t* in = input + group * kGroupCodes * 2;
    for (size_t i = 0; i < count; ++i) pcm[i] = ReadPcmSample(in + 2 * i);
    g726::EncodeBlock(encoder_, g726::kRate24, pcm, count, codes);
    for (size_t g = 0; g < chunkGroups; ++g) {
      PackGroup(codes + g * kGroupCodes, output + (group + g) * kGroupBytes);
    }
  }
  return static_cast<int>(groups * kGroupBytes);
}

void G726Codec::SetUp(const GainTable*, const int*, std::atomic<int>* pendingBuffers) {
  pending_.Attach(pendingBuffers);
}

bool G726Codec::IsBusy() const { return pending_.IsBusy(); }

}  // namespace pel
