#pragma once

// The system mixer as the microphone level control needs it (mixerGetLineInfo,
// mixerGetLineControls, mixerGetControlDetails, mixerSetControlDetails). Results: 0 success,
// anything else the mixer's error number.

#include <cstdint>

namespace pel {

constexpr uint32_t kMixerDestinationWaveIn = 7;       // MIXERLINE_COMPONENTTYPE_DST_WAVEIN
constexpr uint32_t kMixerSourceMicrophone = 0x1003;   // MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE
constexpr uint32_t kMixerSourceNone = 0x100B;         // no source line wanted
constexpr uint32_t kMixerControlVolume = 0x50030001;  // MIXERCONTROL_CONTROLTYPE_VOLUME

// The parts of MIXERLINE that are used.
struct MixerLine {
  uint32_t destination = 0;
  uint32_t source = 0;
  uint32_t lineId = 0;
  uint32_t componentType = 0;
  uint32_t channels = 0;
  uint32_t connections = 0;
};

// An open mixer (HMIXER). Destroying the object closes it.
class IMixerDevice {
 public:
  virtual ~IMixerDevice() = default;
  // The line of the given component type (MIXER_GETLINEINFOF_COMPONENTTYPE).
  virtual int GetLineByComponentType(uint32_t componentType, MixerLine& line) = 0;
  // Source line `source` of destination `destination` (MIXER_GETLINEINFOF_SOURCE).
  virtual int GetLineBySource(uint32_t destination, uint32_t source, MixerLine& line) = 0;
  // The line's one control of the given type (MIXER_GETLINECONTROLSF_ONEBYTYPE).
  virtual int GetControlByType(uint32_t lineId, uint32_t controlType, uint32_t& controlId) = 0;
  // One unsigned value per channel, `channels` of them (MIXERCONTROLDETAILS_UNSIGNED).
  virtual int GetUnsignedValues(uint32_t controlId, uint32_t channels, uint32_t* values) = 0;
  virtual int SetUnsignedValues(uint32_t controlId, uint32_t channels, const uint32_t* values) = 0;
};

}  // namespace pel
