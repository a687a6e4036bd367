#pragma once

#include "audio/codec/AudioCodec.h"

namespace pel {

// Mode 2: the wave devices speak mu-law themselves, so both directions copy the bytes
// unchanged. Never drops a block.
class MuLawCopyCodec : public AudioCodec {
 public:
  static constexpr size_t kBlockBytes = 1400;  // one capture block

  // Both copy `inputLength` bytes and answer 1.
  int Decode(const uint8_t* input, size_t inputLength, uint8_t* output,
             size_t outputCapacity) override;
  int Encode(const uint8_t* input, size_t inputLength, uint8_t* output,
             size_t outputCapacity) override;
  void SetUp(const GainTable* gainTable, const int* gainIndex,
             std::atomic<int>* pendingBuffers) override;
  bool IsBusy() const override;

 private:
  PendingBlocks pending_;
};

}  // namespace pel
