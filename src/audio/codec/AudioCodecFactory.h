#pragma once

#include <memory>

#include "audio/codec/AudioCodec.h"
#include "ports/Clock.h"
#include "ports/SteadyClock.h"

namespace pel {

// The codec for a codec mode (1, 2 or 9), or null for any other mode. The clock stamps IMA
// blocks and must outlive the codec.
std::unique_ptr<AudioCodec> MakeAudioCodec(int mode,
                                           IMillisecondClock& clock = DefaultMillisecondClock());

}  // namespace pel
