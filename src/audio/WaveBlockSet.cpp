#include "audio/WaveBlockSet.h"

#include <limits>
#include <new>

namespace pel {

bool WaveBlockSet::Allocate(size_t bytes) {
  Free();
  if (bytes == 0 || bytes > std::numeric_limits<uint32_t>::max()) return false;
  for (int i = 0; i < kCount; ++i) {
    blocks_[i].reset(new (std::nothrow) WaveBlock());
    data_[i].reset(new (std::nothrow) uint8_t[bytes]());
    if (!blocks_[i] || !data_[i]) {
      Free();
      return false;
    }
    blocks_[i]->data = data_[i].get();
    blocks_[i]->length = static_cast<uint32_t>(bytes);
  }
  return true;
}

void WaveBlockSet::Free() {
  for (int i = 0; i < kCount; ++i) {
    blocks_[i].reset();
    data_[i].reset();
  }
}

int WaveBlockSet::IndexOf(const WaveBlock* block) const {
  if (block == nullptr) return -1;
  for (int i = 0; i < kCount; ++i) {
    if (blocks_[i].get() == block) return i;
  }
  return -1;
}

void UnprepareAll(IWaveDevice& device, WaveBlockSet& blocks) {
  if (!blocks.Ready()) return;
  for (int i = 0; i < WaveBlockSet::kCount; ++i) device.Unprepare(blocks[i]);
}

}  // namespace pel
