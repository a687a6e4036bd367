#pragma once

#include <cstdint>
#include <memory>

#include "ports/WaveDevices.h"

namespace pel {

// The microphone's volume control in the system mixer: the volume control of the
// microphone line that feeds the wave-input destination of the capture device's mixer (mixer
// 0 where the system cannot name that one). When any step of finding it fails the object is
// invalid and reads and writes nothing.
class MicLevelMixer {
 public:
  // Channels a line may report; the details buffer is sized for them.
  static constexpr uint32_t kMaxChannels = 32;

  MicLevelMixer(IWaveDevices& devices, uint32_t destinationType = kMixerDestinationWaveIn,
                uint32_t sourceType = kMixerSourceMicrophone,
                uint32_t controlType = kMixerControlVolume);
  MicLevelMixer(const MicLevelMixer&) = delete;
  MicLevelMixer& operator=(const MicLevelMixer&) = delete;

  bool IsValid() const { return valid_; }
  // The control's value (the first channel's), or 0 when invalid or unreadable.
  uint32_t GetValue();
  // Writes `value` to every channel: 1, or 0 on failure, after which the mixer stays invalid.
  int SetValue(uint32_t value);

 private:
  bool Find(IWaveDevices& devices, uint32_t destinationType, uint32_t sourceType,
            uint32_t controlType);
  // Takes the line's control of that type; false when it has none or an unusable channel count.
  bool TakeVolume(const MixerLine& line, uint32_t controlType);
  bool ReadValues(uint32_t* values);

  std::unique_ptr<IMixerDevice> mixer_;
  uint32_t controlId_ = 0;
  int lastError_ = 0;
  uint32_t channels_ = 0;
  bool valid_ = false;
};

}  // namespace pel
