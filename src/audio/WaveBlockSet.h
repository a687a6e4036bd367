#pragma once

#include <array>
#include <cstddef>
#include <memory>

#include "ports/WaveDevices.h"

namespace pel {

// The four block headers a wave device cycles through, each with its own zeroed data buffer.
// Headers and buffers stay where they are until Free, as the devices require.
class WaveBlockSet {
 public:
  static constexpr int kCount = 4;

  WaveBlockSet() = default;
  WaveBlockSet(const WaveBlockSet&) = delete;
  WaveBlockSet& operator=(const WaveBlockSet&) = delete;
  WaveBlockSet(WaveBlockSet&&) = default;
  WaveBlockSet& operator=(WaveBlockSet&&) = default;

  // Four zeroed headers with zeroed buffers of `bytes` each, the length set; false (and
  // nothing kept) when memory runs out.
  bool Allocate(size_t bytes);
  void Free();
  bool Ready() const { return blocks_[0] != nullptr; }

  WaveBlock& operator[](int index) { return *blocks_[index]; }
  // Which of the four `block` is, or -1 for a header that is not one of them.
  int IndexOf(const WaveBlock* block) const;

 private:
  std::array<std::unique_ptr<WaveBlock>, kCount> blocks_;
  std::array<std::unique_ptr<uint8_t[]>, kCount> data_;
};

// Unprepares every block of a set from a device; failures are ignored.
void UnprepareAll(IWaveDevice& device, WaveBlockSet& blocks);

}  // namespace pel
