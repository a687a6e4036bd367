#include "audio/codec/ImaAdpcm.h"

#include <cstdio>

namespace pel::ima {

int DecodeStep(int code, State* state) {
  if (code < 0 || code > 15) {
    std::fputs("[DecodeADPCMC] Error in ADPCM sample, aborting.\n\n", stderr);
    return 0;
  }
  if (state == nullptr) {
    std::fputs("[DecodeADPCMC] Error in ADPCMState, aborting.\n\n", stderr);
    return 0;
  }
  state->index = std::clamp(state->index, 0, kMaxIndex);
  return Step(code, *state);
}

}  // namespace pel::ima
