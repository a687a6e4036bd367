#include "audio/codec/MuLawCopyCodec.h"

#include <cstring>

namespace pel {

namespace {

int CopyBytes(const uint8_t* input, size_t inputLength, uint8_t* output, size_t outputCapacity) {
  if (input == nullptr || output == nullptr || inputLength > outputCapacity) return 0;
  if (inputLength > 0) std::memmove(output, input, inputLength);
  return 1;
}

}  // namespace

int MuLawCopyCodec::Decode(const uint8_t* input, size_t inputLength, uint8_t* output,
                           size_t outputCapacity) {
  return CopyBytes(input, inputLength, output, outputCapacity);
}

int MuLawCopyCodec::Encode(const uint8_t* input, size_t inputLength, uint8_t* output,
                           size_t outputCapacity) {
  return CopyBytes(input, inputLength, output, outputCapacity);
}

void MuLawCopyCodec::SetUp(const GainTable*, const int*, std::atomic<int>* pendingBuffers) {
  pending_.Attach(pendingBuffers);
}

bool MuLawCopyCodec::IsBusy() const { return pending_.IsBusy(); }

}  // namespace pel
