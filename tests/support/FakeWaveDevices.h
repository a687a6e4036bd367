#pragma once

// Fakes of the wave devices, the mixer and the notification windows that behave like the
// Windows ones: blocks carry the device's flags, a device holds what it was given until it
// returns it, unpreparing or closing fails while it holds blocks, and every notification is
// posted to its window and delivered only when the test pumps (the dialog's thread).
// Thread-safe: the player writes from the receive thread while the test pumps.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "audio/WaveDeviceClose.h"
#include "ports/WaveDevices.h"

namespace pel::test {

class FakeWaveSystem;

// What a fake device of either kind does. The system owns every device it opened until it
// goes away, so tests can look at one after the core has let it go; the core holds a handle
// whose destruction resets and closes a device left open.
class FakeWaveDevice {
 public:
  FakeWaveDevice(FakeWaveSystem& system, uintptr_t window, const WaveFormat& format)
      : system_(system), window_(window), format_(format) {}
  virtual ~FakeWaveDevice() = default;

  const WaveFormat& format() const { return format_; }
  bool closed() const;
  int closeCalls() const;
  int resetCalls() const;
  // Blocks the device holds, and their lengths (oldest first).
  size_t held() const;
  std::vector<uint32_t> heldLengths() const;
  // Whether the core let go of the device while it was still open.
  bool abandonedOpen() const;
  // The core's handle went away.
  void release();

  // What the core's handle calls, as the system's functions behave.
  int Prepare(WaveBlock& block);
  int Unprepare(WaveBlock& block);
  int Reset();
  int Close();

  // Failures to inject: the next `n` closes fail; prepare number `k` (from 0) fails.
  int failCloses = 0;
  int failPrepareAt = -1;

 protected:
  // Takes a prepared block into the device's queue; the system's lock is held.
  int hold(WaveBlock& block);

  FakeWaveSystem& system_;
  uintptr_t window_;
  WaveFormat format_;
  std::deque<WaveBlock*> queue_;
  int prepares_ = 0;
  int closeCalls_ = 0;
  int resetCalls_ = 0;
  bool closed_ = false;
  bool abandonedOpen_ = false;
};

class FakeWaveIn : public FakeWaveDevice {
 public:
  using FakeWaveDevice::FakeWaveDevice;

  int Add(WaveBlock& block);
  int Start();
  int Stop();

  // The device fills its oldest block with `bytes` (as many as fit) and returns it. False
  // when it is not started or holds no block.
  bool Capture(const std::vector<uint8_t>& bytes);
  bool started() const;

  bool failAdd = false;
  bool failStart = false;

 private:
  bool started_ = false;
};

class FakeWaveOut : public FakeWaveDevice {
 public:
  using FakeWaveDevice::FakeWaveDevice;

  int Write(WaveBlock& block);
  int Pause();

  // Returns the oldest held block as played; false when none is held.
  bool ReturnOldest();
  // Copies of every block written, in order (unless keepCopies is off).
  std::vector<std::vector<uint8_t>> written() const;
  // The data of the blocks the device holds now, oldest first.
  std::vector<std::vector<uint8_t>> heldData() const;
  size_t writeCount() const;
  bool paused() const;

  bool keepCopies = true;
  bool autoReturn = false;  // each block is returned as soon as it is written
  bool failWrite = false;
  bool failPause = false;
  // Sees each written block (under the system's lock; must not call back into the fakes).
  std::function<void(const WaveBlock&)> onWrite;

 private:
  std::vector<std::vector<uint8_t>> written_;
  size_t writeCount_ = 0;
  bool paused_ = false;
};

// Mixer 0 with a wave-input destination line and its source lines.
struct FakeMixerSetup {
  MixerLine destination{0, 0, 100, kMixerDestinationWaveIn, 2, 0};
  std::vector<MixerLine> sources;
  std::map<uint32_t, uint32_t> volumeControlOfLine;  // line id -> control id
  std::map<uint32_t, std::vector<uint32_t>> values;  // control id -> one value per channel
  int openResult = 0;
  int lineResult = 0;
  int sourceFailAt = -1;
  int getResult = 0;
  int setResult = 0;
};

class FakeWaveSystem : public IWaveDevices, public INotificationOwner {
 public:
  FakeWaveSystem() = default;
  ~FakeWaveSystem() override;

  // IWaveDevices
  unsigned InputDeviceCount() override { return inputDevices; }
  unsigned OutputDeviceCount() override { return outputDevices; }
  int OpenInput(const WaveFormat& format, const INotificationWindow& window,
                std::unique_ptr<IWaveInDevice>& device) override;
  int OpenOutput(const WaveFormat& format, const INotificationWindow& window,
                 std::unique_ptr<IWaveOutDevice>& device) override;
  int GetOutputVolume(uint32_t& volume) override;
  int SetOutputVolume(uint32_t volume) override;
  unsigned MixerCount() override { return mixerCount; }
  int OpenMixer(unsigned id, std::unique_ptr<IMixerDevice>& mixer) override;

  // INotificationOwner
  std::unique_ptr<INotificationWindow> CreateNotificationWindow(IWaveNotify& sink) override;

  // Delivers every notification posted so far, in order, on the calling thread; the number
  // delivered. Notifications of destroyed windows are lost, as on Windows.
  int Pump();
  // Waits up to timeoutMs for a notification, then pumps.
  int WaitAndPump(int timeoutMs);

  // The devices opened last (null before any); they stay valid until the system goes away.
  FakeWaveIn* input() const { return lastInput_; }
  FakeWaveOut* output() const { return lastOutput_; }
  int liveWindows() const;
  int inputOpens() const { return inputOpens_; }
  int outputOpens() const { return outputOpens_; }

  // Set-up and failures to inject.
  unsigned inputDevices = 1;
  unsigned outputDevices = 1;
  bool failWindow = false;
  int openInputResult = 0;
  int openOutputResult = 0;
  uint32_t volume = 0xFFFFFFFF;
  int volumeResult = 0;
  unsigned mixerCount = 1;
  FakeMixerSetup mixer;
  // Settings for each device as it is opened.
  std::function<void(FakeWaveIn&)> onInputOpened;
  std::function<void(FakeWaveOut&)> onOutputOpened;

 private:
  friend class FakeWaveDevice;
  friend class FakeWaveIn;
  friend class FakeWaveOut;
  friend class FakeMixer;
  friend class FakeNotificationWindow;

  struct Posted {
    uintptr_t window;
    WaveMessage message;
    WaveBlock* block;
  };
  static constexpr size_t kRing = 256;

  // Opens a fake of type Fake for the core behind a handle of type Handle.
  template <class Fake, class Handle, class Interface>
  int open(const WaveFormat& format, const INotificationWindow& window, int failure, int& opens,
           Fake*& last, const std::function<void(Fake&)>& onOpened,
           std::unique_ptr<Interface>& device);
  // With mutex_ held.
  void post(uintptr_t window, WaveMessage message, WaveBlock* block);
  void destroyWindow(uintptr_t handle);

  mutable std::mutex mutex_;
  std::condition_variable posted_;
  std::map<uintptr_t, IWaveNotify*> windows_;
  uintptr_t nextWindow_ = 0x1000;
  Posted ring_[kRing] = {};
  size_t ringStart_ = 0;
  size_t ringCount_ = 0;
  std::vector<std::unique_ptr<FakeWaveDevice>> devices_;
  FakeWaveIn* lastInput_ = nullptr;
  FakeWaveOut* lastOutput_ = nullptr;
  int inputOpens_ = 0;
  int outputOpens_ = 0;
};

// Records the pauses between close attempts instead of sleeping.
class CountingPause : public IRetryPause {
 public:
  void Pause(int milliseconds) override { pauses.push_back(milliseconds); }
  std::vector<int> pauses;
};

}  // namespace pel::test
