#include "audio/codec/ImaAdpcmCodec.h"

#include <algorithm>
#include <cstdlib>

#include "audio/codec/ImaAdpcm.h"
#include "audio/codec/ImaBlockHeader.h"
#include "audio/codec/PcmBytes.h"

namespace pel {

ImaAdpcmCodec::ImaAdpcmCodec(IMillisecondClock& clock) : clock_(clock) {}

int ImaAdpcmCodec::Decode(const uint8_t* input, size_t inputLength, uint8_t* output,
                          size_t outputCapacity) {
  if (pending_.DropsBlock()) return 0;
  if (input == nullptr || output == nullptr || inputLength < kBlockBytes ||
      outputCapacity < kBlockSamples * 2) {
    return 0;
  }
  const double gain = SelectGain(gainTable_, gainIndex_);
  ima::State state = ReadImaBlockState(input);
  const uint8_t* codes = input + kImaHeaderBytes;
  for (size_t i = 0; i < kBlockSamples / 2; ++i) {
    const int low = ima::Step(codes[i] & 15, state);
    WritePcmSample(output + 4 * i, ApplyGain(low, gain));
    const int high = ima::Step(codes[i] >> 4, state);
    WritePcmSample(output + 4 * i + 2, ApplyGain(high, gain));
  }
  return 1;
}

int ImaAdpcmCodec::Encode(const uint8_t* input, size_t inputLength, uint8_t* output,
                          size_t outputCapacity) {
  if (input == nullptr || output == nullptr || inputLength < kBlockSamples * 2 ||
      outputCapacity < kBlockBytes) {
    return 0;
  }
  const double gain = SelectGain(gainTable_, gainIndex_);
  ima::State state;
  ima::State start;
  int previous = 0;
  uint8_t* codes = output + kImaHeaderBytes;
  for (size_t i = 0; i < kBlockSamples; ++i) {
    const int sample = ApplyGain(ReadPcmSample(input + 2 * i), gain);
    // The previous code moves the state first, so each code is quantised against what the
    // decoder will have reconstructed before it.
    const int difference = sample - ima::Step(previous, state);
    int code = std::min(7, std::abs(difference) * 4 / ima::kStepTable[state.index]);
    if (difference < 0) code += 8;
    previous = code;
    if (i == 0) start = state;
    if (i % 2 == 0) {
      codes[i / 2] = static_cast<uint8_t>(code);
    } else {
      codes[i / 2] = static_cast<uint8_t>(codes[i / 2] | (code << 4));
    }
  }
  WriteImaBlockHeader(output, clock_.Milliseconds(), start);
  return 1;
}

void ImaAdpcmCodec::SetUp(const GainTable* gainTable, const int* gainIndex,
                          std::atomic<int>* pendingBuffers) {
  gainTable_ = gainTable;
  gainIndex_ = gainIndex;
  pending_.Attach(pendingBuffers);
}

bool ImaAdpcmCodec::IsBusy() const { return pending_.IsBusy(); }

}  // namespace pel
