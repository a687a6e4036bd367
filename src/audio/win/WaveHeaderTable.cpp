#include "audio/win/WaveHeaderTable.h"

namespace pel::win {

WAVEHDR* WaveHeaderTable::Claim(WaveBlock& block) {
  if (WAVEHDR* held = Find(block)) return held;
  for (Slot& slot : slots_) {
    WaveBlock* expected = nullptr;
    if (!slot.block.compare_exchange_strong(expected, &block)) continue;
    slot.header = WAVEHDR{};
    slot.header.lpData = reinterpret_cast<LPSTR>(block.data);
    slot.header.dwBufferLength = block.length;
    return &slot.header;
  }
  return nullptr;
}

WAVEHDR* WaveHeaderTable::Find(const WaveBlock& block) {
  for (Slot& slot : slots_) {
    if (slot.block.load() == &block) return &slot.header;
  }
  return nullptr;
}

void WaveHeaderTable::Release(WAVEHDR* header) {
  for (Slot& slot : slots_) {
    if (&slot.header == header) slot.block.store(nullptr);
  }
}

WaveBlock* WaveHeaderTable::BlockOf(const void* header) {
  for (Slot& slot : slots_) {
    if (static_cast<const void*>(&slot.header) == header) return slot.block.load();
  }
  return nullptr;
}

void CopyBack(const WAVEHDR& header, WaveBlock& block) {
  block.recorded = header.dwBytesRecorded;
  block.flags = header.dwFlags;
}

}  // namespace pel::win
