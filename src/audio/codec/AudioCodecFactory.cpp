#include "audio/codec/AudioCodecFactory.h"

#include "audio/codec/G726Codec.h"
#include "audio/codec/ImaAdpcmCodec.h"
#include "audio/codec/MuLawCopyCodec.h"

namespace pel {

std::unique_ptr<AudioCodec> MakeAudioCodec(int mode, IMillisecondClock& clock) {
  switch (mode) {
    case kAudioModeG726:
      return std::make_unique<G726Codec>();
    case kAudioModeMuLaw:
      return std::make_unique<MuLawCopyCodec>();
    case kAudioModeIma:
      return std::make_unique<ImaAdpcmCodec>(clock);
    default:
      return nullptr;
  }
}

}  // namespace pel
