#pragma once

// The Windows wave devices as the audio core sees them. The shell implements these over
// winmm (waveIn*, waveOut*, opened with window notification); the native tests implement
// them with fakes that hold and return blocks the way the real devices do.
//
// Results are the multimedia system's numbers: 0 success, anything else an error.

#include <cstdint>
#include <memory>

#include "ports/WaveDevicesMixer.h"

namespace pel {

constexpr int kWaveOk = 0;             // MMSYSERR_NOERROR
constexpr int kWaveError = 1;          // MMSYSERR_ERROR
constexpr int kWaveBadDevice = 2;      // MMSYSERR_BADDEVICEID
constexpr int kWaveNoMemory = 7;       // MMSYSERR_NOMEM
constexpr int kWaveStillPlaying = 33;  // WAVERR_STILLPLAYING: blocks are still queued
constexpr int kWaveUnprepared = 34;    // WAVERR_UNPREPARED

constexpr uint16_t kWaveFormatPcm = 1;    // WAVE_FORMAT_PCM
constexpr uint16_t kWaveFormatMuLaw = 7;  // WAVE_FORMAT_MULAW

// WAVEFORMATEX without extra bytes.
struct WaveFormat {
  uint16_t formatTag = 0;
  uint16_t channels = 0;
  uint32_t samplesPerSecond = 0;
  uint32_t averageBytesPerSecond = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 0;
};

// WAVEHDR flags as the device keeps them.
constexpr uint32_t kWaveBlockDone = 0x01;      // WHDR_DONE: the device has returned it
constexpr uint32_t kWaveBlockPrepared = 0x02;  // WHDR_PREPARED
constexpr uint32_t kWaveBlockInQueue = 0x10;   // WHDR_INQUEUE: the device holds it

// One block header (WAVEHDR): the caller owns it and its data and keeps both where they are
// from Prepare to Unprepare. The shell keeps its own WAVEHDR for each block in that time and
// copies the recorded byte count and the flags back before it reports the block done.
struct WaveBlock {
  uint8_t* data = nullptr;
  uint32_t length = 0;    // bytes of data offered to the device
  uint32_t recorded = 0;  // bytes the input device filled
  uint32_t flags = 0;
};

// The notifications a device opened with window notification sends (MM_WIM_OPEN, MM_WIM_DATA,
// MM_WIM_CLOSE and the MM_WOM_ ones).
enum class WaveMessage { kOpen, kBlockDone, kClose };

// Receives the notifications of the devices opened with one notification window, always on
// the thread that owns that window.
class IWaveNotify {
 public:
  virtual ~IWaveNotify() = default;
  // `block` is the header the device returned (kBlockDone only; null otherwise).
  virtual void OnWaveMessage(WaveMessage message, WaveBlock* block) = 0;
};

// A hidden child window that receives device notifications (child style, not visible, empty
// rectangle, identifier 0). Destroying the object destroys the window; notifications still
// waiting for it are lost with it.
class INotificationWindow {
 public:
  virtual ~INotificationWindow() = default;
  // What a device is opened with (the window handle in the shell).
  virtual uintptr_t Handle() const = 0;
};

// The window (the Audio Connection dialog) that makes notification windows as its children.
class INotificationOwner {
 public:
  virtual ~INotificationOwner() = default;
  // A new notification window that hands every notification to `sink`; null on failure.
  virtual std::unique_ptr<INotificationWindow> CreateNotificationWindow(IWaveNotify& sink) = 0;
};

// What both kinds of open device (HWAVEIN, HWAVEOUT) offer. Destroying an object whose
// device is still open resets and closes it as well as it can.
class IWaveDevice {
 public:
  virtual ~IWaveDevice() = default;
  virtual int Prepare(WaveBlock& block) = 0;
  // Fails with kWaveStillPlaying while the device holds the block.
  virtual int Unprepare(WaveBlock& block) = 0;
  // Stops and returns every held block as done.
  virtual int Reset() = 0;
  // Fails (kWaveStillPlaying) while blocks are queued; may be tried again.
  virtual int Close() = 0;
};

// An open wave-input device: captured blocks come back through kBlockDone.
class IWaveInDevice : public IWaveDevice {
 public:
  virtual int Add(WaveBlock& block) = 0;
  virtual int Start() = 0;
  virtual int Stop() = 0;
};

// An open wave-output device: written blocks come back through kBlockDone once played.
class IWaveOutDevice : public IWaveDevice {
 public:
  virtual int Write(WaveBlock& block) = 0;
  virtual int Pause() = 0;
};

// The system's wave devices and mixers.
class IWaveDevices {
 public:
  virtual ~IWaveDevices() = default;

  virtual unsigned InputDeviceCount() = 0;
  virtual unsigned OutputDeviceCount() = 0;
  // Opens the default device (the wave mapper) with notifications to `window`.
  virtual int OpenInput(const WaveFormat& format, const INotificationWindow& window,
                        std::unique_ptr<IWaveInDevice>& device) = 0;
  virtual int OpenOutput(const WaveFormat& format, const INotificationWindow& window,
                         std::unique_ptr<IWaveOutDevice>& device) = 0;

  // The volume of wave-output device 0: left channel in the low word, right in the high word.
  virtual int GetOutputVolume(uint32_t& volume) = 0;
  virtual int SetOutputVolume(uint32_t volume) = 0;

  virtual unsigned MixerCount() = 0;
  virtual int OpenMixer(unsigned id, std::unique_ptr<IMixerDevice>& mixer) = 0;
  // The mixer of the wave-input device that OpenInput opens, where the system can tell (an
  // error otherwise, and by default).
  virtual int InputMixerId(unsigned& /*id*/) { return kWaveBadDevice; }
};

}  // namespace pel
