#pragma once

#include <array>
#include <cstdint>

namespace pel {

// The user's four access words (PROPERTY0..3 of the server page), two access entries each.
using AccessWords = std::array<uint32_t, 4>;

// One 16-bit access entry: module number (bits 15-8), channel (7-4) and the rights bits.
struct AccessEntry {
  static constexpr int kCount = 8;
  static constexpr int kAllModules = 255;  // in the first entry: every module is listed
  static constexpr int kAllChannels = 15;  // channels 0 to 5

  uint16_t bits = 0;

  // Entry `index` (0..7): the low half of word index/2 first, then its high half.
  static AccessEntry At(const AccessWords& words, int index) {
    const uint32_t word = words[static_cast<size_t>(index / 2) % words.size()];
    return AccessEntry{static_cast<uint16_t>(index % 2 == 0 ? word & 0xFFFF : word >> 16)};
  }

  int Module() const { return bits >> 8; }
  int Channel() const { return (bits >> 4) & 0xF; }
  bool View() const { return (bits & 0x1) != 0; }
  bool Ptz() const { return (bits & 0x2) != 0; }
  bool Relay() const { return (bits & 0x4) != 0; }
  bool Audio() const { return (bits & 0x8) != 0; }

  // The channel bits this entry grants: bit c for channel c, 0x3F for channel 15.
  uint32_t ChannelMask() const {
    return Channel() == kAllChannels ? 0x3Fu : (1u << Channel());
  }
};

}  // namespace pel
