#pragma once

#include <cstddef>

#include "ports/WaveDevices.h"

namespace pel {

// What one codec mode needs from capture and playback: all audio is 8000 samples a second.
struct AudioModeLayout {
  WaveFormat format;
  size_t captureBytes;   // one wave-input block
  size_t encoderInput;   // what Encode is given, in the codec's own unit
  size_t packetBytes;    // Jes header and coded payload: one datagram
  size_t playbackBytes;  // one wave-output block
};

// The layout for mode 1, 2 or 9; false for any other mode.
bool LookUpAudioMode(int mode, AudioModeLayout& layout);

}  // namespace pel
