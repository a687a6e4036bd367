#pragma once

#include "audio/codec/AudioCodec.h"
#include "audio/codec/G726State.h"

namespace pel {

// Mode 1: G.726 at 24 kbit/s, 16-bit samples in and out, codes packed eight to three bytes
// (least significant bits first). One encoder and one decoder state, both running on from
// block to block for the life of the object.
class G726Codec : public AudioCodec {
 public:
  static constexpr size_t kBlockSamples = 8192;  // one capture block: 16-bit stereo
  static constexpr size_t kBlockBytes = 3072;    // its payload

  // `inputLength` bytes of codes; a trailing one or two bytes carry two or five more
  // codes. Writes (inputLength * 8) / 3 samples and answers their number.
  int Decode(const uint8_t* input, size_t inputLength, uint8_t* output,
             size_t outputCapacity) override;
  // `inputLength` is a number of 16-bit samples. Codes whole groups of eight samples (a
  // trailing part group is left uncoded so that both ends stay in step) and answers the
  // bytes written: three per group.
  int Encode(const uint8_t* input, size_t inputLength, uint8_t* output,
             size_t outputCapacity) override;
  void SetUp(const GainTable* gainTable, const int* gainIndex,
             std::atomic<int>* pendingBuffers) override;
  bool IsBusy() const override;

 private:
  g726::State encoder_;
  g726::State decoder_;
  PendingBlocks pending_;
};

}  // namespace pel
