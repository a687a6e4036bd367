#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <memory>
#include <vector>

#include "ports/WaveDevicesMixer.h"

namespace pel::win {

// An open mixer (HMIXER); the object closes it.
class WinMixerDevice final : public IMixerDevice {
 public:
  // Opens mixer `id`: the system's result, `mixer` set on success.
  static int Open(unsigned id, std::unique_ptr<IMixerDevice>& mixer);
  ~WinMixerDevice() override;
  WinMixerDevice(const WinMixerDevice&) = delete;
  WinMixerDevice& operator=(const WinMixerDevice&) = delete;

  int GetLineByComponentType(uint32_t componentType, MixerLine& line) override;
  int GetLineBySource(uint32_t destination, uint32_t source, MixerLine& line) override;
  int GetControlByType(uint32_t lineId, uint32_t controlType, uint32_t& controlId) override;
  int GetUnsignedValues(uint32_t controlId, uint32_t channels, uint32_t* values) override;
  int SetUnsignedValues(uint32_t controlId, uint32_t channels, const uint32_t* values) override;

 private:
  explicit WinMixerDevice(HMIXER mixer) : mixer_(mixer) {}
  HMIXEROBJ Object() const { return reinterpret_cast<HMIXEROBJ>(mixer_); }
  int GetLine(MIXERLINEA& line, DWORD how, MixerLine& out);
  // The control's values, the first one set to `mark` before the system is asked.
  MMRESULT Read(uint32_t controlId, DWORD mark, std::vector<MIXERCONTROLDETAILS_UNSIGNED>& values);

  HMIXER mixer_;
};

}  // namespace pel::win
