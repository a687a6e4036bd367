#pragma once

#include "ports/WaveDevices.h"

namespace pel::win {

// The system's wave devices and mixers (winmm). Devices are opened on the wave mapper with
// window notification to a WinNotificationWindow, which routes their returned blocks back.
class WinWaveDevices final : public IWaveDevices {
 public:
  unsigned InputDeviceCount() override;
  unsigned OutputDeviceCount() override;
  // Fail with MMSYSERR_INVALHANDLE for a window that is not a WinNotificationWindow.
  int OpenInput(const WaveFormat& format, const INotificationWindow& window,
                std::unique_ptr<IWaveInDevice>& device) override;
  int OpenOutput(const WaveFormat& format, const INotificationWindow& window,
                 std::unique_ptr<IWaveOutDevice>& device) override;

  // Wave-output device 0 by its ID. Where the system does not take a device ID for a handle
  // here (Wine answers MMSYSERR_INVALHANDLE), the volume control of mixer 0's speaker line
  // stands in, one value for both channels.
  int GetOutputVolume(uint32_t& volume) override;
  int SetOutputVolume(uint32_t volume) override;

  unsigned MixerCount() override;
  int OpenMixer(unsigned id, std::unique_ptr<IMixerDevice>& mixer) override;
  // The mixer of the wave mapper's preferred input device, or of input device 0 where the
  // mapper names none (Wine lists the default device first).
  int InputMixerId(unsigned& id) override;
};

}  // namespace pel::win
