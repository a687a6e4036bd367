#pragma once

// Wave devices for a console program: the input device "captures" from a source in real time,
// one block per block's worth of time; the output device hands every written block to a sink
// and returns it once its time has played. Notifications are posted to their windows and
// delivered on the thread that pumps them, as on Windows.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

#include "ports/WaveDevices.h"

namespace pel::probe {

// What the input device captures: bytes in its wave format. Called on the device's thread.
class CaptureSource {
 public:
  virtual ~CaptureSource() = default;
  virtual void Fill(uint8_t* to, size_t count) = 0;
};

// Where the output device's blocks go as they are written. Called on the writer's thread.
class PlaybackSink {
 public:
  virtual ~PlaybackSink() = default;
  virtual void Play(const uint8_t* data, size_t count) = 0;
};

class ConsoleWaveSystem : public IWaveDevices, public INotificationOwner {
 public:
  using Clock = std::chrono::steady_clock;

  // `sink` may be null: played audio goes nowhere.
  ConsoleWaveSystem(CaptureSource& source, PlaybackSink* sink) : source_(source), sink_(sink) {}
  ~ConsoleWaveSystem() override;
  ConsoleWaveSystem(const ConsoleWaveSystem&) = delete;
  ConsoleWaveSystem& operator=(const ConsoleWaveSystem&) = delete;

  // IWaveDevices: one input and one output device, no mixer.
  unsigned InputDeviceCount() override { return 1; }
  unsigned OutputDeviceCount() override { return 1; }
  int OpenInput(const WaveFormat& format, const INotificationWindow& window,
                std::unique_ptr<IWaveInDevice>& device) override;
  int OpenOutput(const WaveFormat& format, const INotificationWindow& window,
                 std::unique_ptr<IWaveOutDevice>& device) override;
  int GetOutputVolume(uint32_t& volume) override;
  int SetOutputVolume(uint32_t volume) override;
  unsigned MixerCount() override { return 0; }
  int OpenMixer(unsigned, std::unique_ptr<IMixerDevice>&) override { return kWaveBadDevice; }

  // INotificationOwner
  std::unique_ptr<INotificationWindow> CreateNotificationWindow(IWaveNotify& sink) override;

  // Delivers notifications on the calling thread until `deadline`, or until `done` (checked
  // after each one) says so.
  void PumpUntil(Clock::time_point deadline, const std::function<bool()>& done = nullptr);

  // Runs on the pumping thread just before a captured block reaches its window.
  void SetCaptureHook(std::function<void()> hook) { captureHook_ = std::move(hook); }
  // Blocks the output devices accepted.
  uint64_t BlocksPlayed() const;

 private:
  friend class ConsoleNotificationWindow;
  friend class PacedDevice;

  struct Posted {
    uintptr_t window;
    WaveMessage message;
    WaveBlock* block;
    bool captured;
  };

  void Post(uintptr_t window, WaveMessage message, WaveBlock* block, bool captured);
  void Unregister(uintptr_t window);
  void CountPlayed();

  CaptureSource& source_;
  PlaybackSink* sink_;
  mutable std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<Posted> queue_;
  std::map<uintptr_t, IWaveNotify*> windows_;
  uintptr_t nextWindow_ = 0x100;
  uint32_t volume_ = 0xFFFFFFFF;
  uint64_t played_ = 0;
  std::function<void()> captureHook_;
};

}  // namespace pel::probe
