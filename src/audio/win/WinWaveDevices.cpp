#include "audio/win/WinWaveDevices.h"

#include <windows.h>
#include <mmsystem.h>
#include <mmddk.h>

#include <algorithm>
#include <new>

#include "audio/MicLevelMixer.h"
#include "audio/win/WinMixerDevice.h"
#include "audio/win/WinNotificationWindow.h"
#include "audio/win/WinWaveDevice.h"

namespace pel::win {

namespace {

constexpr uint32_t kMixerDestinationSpeakers = 4;  // MIXERLINE_COMPONENTTYPE_DST_SPEAKERS

WAVEFORMATEX ToSystemFormat(const WaveFormat& format) {
  WAVEFORMATEX system{};
  system.wFormatTag = format.formatTag;
  system.nChannels = format.channels;
  system.nSamplesPerSec = format.samplesPerSecond;
  system.nAvgBytesPerSec = format.averageBytesPerSecond;
  system.nBlockAlign = format.blockAlign;
  system.wBitsPerSample = format.bitsPerSample;
  system.cbSize = 0;
  return system;
}

// Opens the wave mapper of one kind with notifications to `window` and wraps the handle.
template <class Device, class Handle, class Interface, class OpenCall, class CloseCall>
int OpenDevice(const WaveFormat& format, const INotificationWindow& window,
               std::unique_ptr<Interface>& device, OpenCall open, CloseCall close) {
  WinNotificationWindow* target = WinNotificationWindow::FromHandle(window.Handle());
  if (target == nullptr) return MMSYSERR_INVALHANDLE;
  WAVEFORMATEX system = ToSystemFormat(format);
  Handle handle = nullptr;
  const MMRESULT result = open(&handle, WAVE_MAPPER, &system,
                               reinterpret_cast<DWORD_PTR>(target->Window()), 0,
                               CALLBACK_WINDOW);
  if (result != MMSYSERR_NOERROR) return static_cast<int>(result);
  device.reset(new (std::nothrow) Device(handle, *target));
  if (device) return MMSYSERR_NOERROR;
  close(handle);
  return MMSYSERR_NOMEM;
}

// The speakers' volume of mixer 0, for systems that refuse a device ID as a handle.
MicLevelMixer SpeakerVolume(IWaveDevices& devices) {
  return MicLevelMixer(devices, kMixerDestinationSpeakers, kMixerSourceNone,
                       kMixerControlVolume);
}

}  // namespace

unsigned WinWaveDevices::InputDeviceCount() { return waveInGetNumDevs(); }

unsigned WinWaveDevices::OutputDeviceCount() { return waveOutGetNumDevs(); }

int WinWaveDevices::OpenInput(const WaveFormat& format, const INotificationWindow& window,
                              std::unique_ptr<IWaveInDevice>& device) {
  return OpenDevice<WinWaveInDevice, HWAVEIN>(format, window, device, waveInOpen, waveInClose);
}

int WinWaveDevices::OpenOutput(const WaveFormat& format, const INotificationWindow& window,
                               std::unique_ptr<IWaveOutDevice>& device) {
  return OpenDevice<WinWaveOutDevice, HWAVEOUT>(format, window, device, waveOutOpen,
                                                waveOutClose);
}

int WinWaveDevices::GetOutputVolume(uint32_t& volume) {
  DWORD value = 0;
  const MMRESULT result = waveOutGetVolume(reinterpret_cast<HWAVEOUT>(0), &value);
  if (result != MMSYSERR_INVALHANDLE) {
    if (result == MMSYSERR_NOERROR) volume = value;
    return static_cast<int>(result);
  }
  MicLevelMixer speakers = SpeakerVolume(*this);
  if (!speakers.IsValid()) return static_cast<int>(result);
  const uint32_t level = std::min<uint32_t>(speakers.GetValue(), 0xFFFF);
  if (!speakers.IsValid()) return MMSYSERR_ERROR;
  volume = level << 16 | level;
  return MMSYSERR_NOERROR;
}

int WinWaveDevices::SetOutputVolume(uint32_t volume) {
  const MMRESULT result = waveOutSetVolume(reinterpret_cast<HWAVEOUT>(0), volume);
  if (result != MMSYSERR_INVALHANDLE) return static_cast<int>(result);
  MicLevelMixer speakers = SpeakerVolume(*this);
  if (!speakers.IsValid()) return static_cast<int>(result);
  // The right channel, which is what the volume is read back as.
  return speakers.SetValue(volume >> 16) == 1 ? MMSYSERR_NOERROR : MMSYSERR_ERROR;
}

unsigned WinWaveDevices::MixerCount() { return mixerGetNumDevs(); }

int WinWaveDevices::OpenMixer(unsigned id, std::unique_ptr<IMixerDevice>& mixer) {
  return WinMixerDevice::Open(id, mixer);
}

int WinWaveDevices::InputMixerId(unsigned& id) {
  DWORD device = 0;
  DWORD status = 0;
  const MMRESULT preferred = waveInMessage(
      reinterpret_cast<HWAVEIN>(static_cast<UINT_PTR>(WAVE_MAPPER)), DRVM_MAPPER_PREFERRED_GET,
      reinterpret_cast<DWORD_PTR>(&device), reinterpret_cast<DWORD_PTR>(&status));
  if (preferred != MMSYSERR_NOERROR || device >= waveInGetNumDevs()) device = 0;
  UINT mixer = 0;
  const MMRESULT result = mixerGetID(reinterpret_cast<HMIXEROBJ>(static_cast<UINT_PTR>(device)),
                                     &mixer, MIXER_OBJECTF_WAVEIN);
  if (result == MMSYSERR_NOERROR) id = mixer;
  return static_cast<int>(result);
}

}  // namespace pel::win
