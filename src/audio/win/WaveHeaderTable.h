#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <atomic>

#include "ports/WaveDevices.h"

namespace pel::win {

// The system's WAVEHDR for each block a device has prepared. The core's WaveBlock stays
// where it is from Prepare to Unprepare, but the device must see a WAVEHDR; it lives here,
// in a slot claimed by Prepare and given back by Unprepare.
//
// The player prepares and writes on the receive thread while the window's thread takes the
// returned blocks and unprepares them, so slots change hands with atomic exchanges only.
class WaveHeaderTable {
 public:
  // A device is given four blocks; the rest is room for a caller that prepares early.
  static constexpr int kSlots = 8;

  WaveHeaderTable() = default;
  WaveHeaderTable(const WaveHeaderTable&) = delete;
  WaveHeaderTable& operator=(const WaveHeaderTable&) = delete;

  // The header of `block`, claiming a free slot and filling it from the block when it has
  // none yet; null when every slot is taken.
  WAVEHDR* Claim(WaveBlock& block);
  // The header `block` holds, or null.
  WAVEHDR* Find(const WaveBlock& block);
  // Gives the slot of `header` back.
  void Release(WAVEHDR* header);
  // The block whose header `header` is; null when it is not a claimed header of this table
  // (a notification left over from an earlier device, say). Never reads through `header`.
  WaveBlock* BlockOf(const void* header);
  // Every claimed header with its block.
  template <class Visit>
  void ForEachClaimed(Visit visit) {
    for (Slot& slot : slots_) {
      if (WaveBlock* block = slot.block.load()) visit(slot.header, *block);
    }
  }

 private:
  struct Slot {
    WAVEHDR header{};
    std::atomic<WaveBlock*> block{nullptr};
  };
  Slot slots_[kSlots];
};

// The device's view of a header copied back into the core's block.
void CopyBack(const WAVEHDR& header, WaveBlock& block);

}  // namespace pel::win
