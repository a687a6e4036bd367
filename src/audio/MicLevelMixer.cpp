#include "audio/MicLevelMixer.h"

namespace pel {

namespace {

// The wave-input line lives in the mixer of the capture device; where the first mixer belongs
// to another device (as under Wine, where every endpoint has a mixer of its own and the
// outputs come first) mixer 0 has no such line.
unsigned MixerFor(IWaveDevices& devices, uint32_t destinationType) {
  unsigned id = 0;
  if (destinationType == kMixerDestinationWaveIn && devices.InputMixerId(id) == kWaveOk) return id;
  return 0;
}

}  // namespace

MicLevelMixer::MicLevelMixer(IWaveDevices& devices, uint32_t destinationType, uint32_t sourceType,
                             uint32_t controlType) {
  valid_ = Find(devices, destinationType, sourceType, controlType);
  if (!valid_) mixer_.reset();
}

bool MicLevelMixer::Find(IWaveDevices& devices, uint32_t destinationType, uint32_t sourceType,
                         uint32_t controlType) {
  if (devices.MixerCount() == 0) return false;
  lastError_ = devices.OpenMixer(MixerFor(devices, destinationType), mixer_);
  if (lastError_ != kWaveOk || !mixer_) return false;

  MixerLine destination;
  lastError_ = mixer_->GetLineByComponentType(destinationType, destination);
  if (lastError_ != kWaveOk) return false;
  MixerLine line = destination;
  if (sourceType != kMixerSourceNone) {
    // The first connection of the wanted type; failing that, the last one looked at.
    for (uint32_t source = 0; source < destination.connections; ++source) {
      lastError_ = mixer_->GetLineBySource(destination.destination, source, line);
      if (lastError_ != kWaveOk) return false;
      if (line.componentType == sourceType) break;
    }
  }
  if (!TakeVolume(line, controlType)) return false;
  // A source line whose level cannot be read (Wine keeps none for them) leaves the level to
  // the destination line, which carries the capture device's own.
  uint32_t values[kMaxChannels] = {};
  if (line.lineId != destination.lineId && !ReadValues(values)) {
    return TakeVolume(destination, controlType);
  }
  return true;
}

bool MicLevelMixer::TakeVolume(const MixerLine& line, uint32_t controlType) {
  lastError_ = mixer_->GetControlByType(line.lineId, controlType, controlId_);
  if (lastError_ != kWaveOk) return false;
  // A line reports at least one channel; more than the buffer holds cannot be addressed.
  if (line.channels == 0 || line.channels > kMaxChannels) return false;
  channels_ = line.channels;
  return true;
}

bool MicLevelMixer::ReadValues(uint32_t* values) {
  lastError_ = mixer_->GetUnsignedValues(controlId_, channels_, values);
  return lastError_ == kWaveOk;
}

uint32_t MicLevelMixer::GetValue() {
  if (!valid_) return 0;
  valid_ = false;
  uint32_t values[kMaxChannels] = {};
  if (!ReadValues(values)) return 0;
  valid_ = true;
  return values[0];
}

int MicLevelMixer::SetValue(uint32_t value) {
  if (!valid_) return 0;
  valid_ = false;
  uint32_t values[kMaxChannels] = {};
  if (!ReadValues(values)) return 0;
  for (uint32_t i = 0; i < channels_; ++i) values[i] = value;
  lastError_ = mixer_->SetUnsignedValues(controlId_, channels_, values);
  if (lastError_ != kWaveOk) return 0;
  valid_ = true;
  return 1;
}

}  // namespace pel
