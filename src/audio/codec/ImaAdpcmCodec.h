#pragma once

#include "audio/codec/AudioCodec.h"
#include "ports/Clock.h"

namespace pel {

// Mode 9: IMA ADPCM on 16-bit mono, one self-contained block per packet: a 64-byte header
// (time stamps from the millisecond clock, the start state) and 2048 bytes of 4-bit codes,
// the earlier sample in the low nibble. The gain is applied on both sides.
class ImaAdpcmCodec : public AudioCodec {
 public:
  static constexpr size_t kBlockSamples = 4096;
  static constexpr size_t kBlockBytes = 2112;

  explicit ImaAdpcmCodec(IMillisecondClock& clock);

  // Needs a whole block of input and room for 4096 samples; answers 1.
  int Decode(const uint8_t* input, size_t inputLength, uint8_t* output,
             size_t outputCapacity) override;
  // `inputLength` is in bytes and must cover 4096 samples; writes one whole block and
  // answers 1.
  int Encode(const uint8_t* input, size_t inputLength, uint8_t* output,
             size_t outputCapacity) override;
  void SetUp(const GainTable* gainTable, const int* gainIndex,
             std::atomic<int>* pendingBuffers) override;
  bool IsBusy() const override;

 private:
  IMillisecondClock& clock_;
  const GainTable* gainTable_ = nullptr;
  const int* gainIndex_ = nullptr;
  PendingBlocks pending_;
};

}  // namespace pel
