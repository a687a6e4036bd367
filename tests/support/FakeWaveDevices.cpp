#include "support/FakeWaveDevices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>

namespace pel::test {

namespace {

constexpr int kInvalidHandle = 5;  // MMSYSERR_INVALHANDLE

using Lock = std::lock_guard<std::mutex>;

// What the core holds: forwards to the system's device and lets it go when destroyed.
template <class Interface, class Device>
class Handle : public Interface {
 public:
  explicit Handle(Device& device) : device_(device) {}
  ~Handle() override { device_.release(); }
  int Prepare(WaveBlock& block) override { return device_.Prepare(block); }
  int Unprepare(WaveBlock& block) override { return device_.Unprepare(block); }
  int Reset() override { return device_.Reset(); }
  int Close() override { return device_.Close(); }

 protected:
  Device& device_;
};

class InHandle : public Handle<IWaveInDevice, FakeWaveIn> {
 public:
  using Handle::Handle;
  int Add(WaveBlock& block) override { return device_.Add(block); }
  int Start() override { return device_.Start(); }
  int Stop() override { return device_.Stop(); }
};

class OutHandle : public Handle<IWaveOutDevice, FakeWaveOut> {
 public:
  using Handle::Handle;
  int Write(WaveBlock& block) override { return device_.Write(block); }
  int Pause() override { return device_.Pause(); }
};

}  // namespace

class FakeNotificationWindow : public INotificationWindow {
 public:
  FakeNotificationWindow(FakeWaveSystem& system, uintptr_t handle)
      : system_(system), handle_(handle) {}
  ~FakeNotificationWindow() override { system_.destroyWindow(handle_); }
  uintptr_t Handle() const override { return handle_; }

 private:
  FakeWaveSystem& system_;
  uintptr_t handle_;
};

class FakeMixer : public IMixerDevice {
 public:
  explicit FakeMixer(FakeWaveSystem& system) : system_(system) {}

  int GetLineByComponentType(uint32_t componentType, MixerLine& line) override {
    Lock lock(system_.mutex_);
    const FakeMixerSetup& setup = system_.mixer;
    if (setup.lineResult != 0) return setup.lineResult;
    if (componentType != setup.destination.componentType) return 1024;  // MIXERR_INVALLINE
    line = setup.destination;
    line.connections = static_cast<uint32_t>(setup.sources.size());
    return 0;
  }

  int GetLineBySource(uint32_t destination, uint32_t source, MixerLine& line) override {
    Lock lock(system_.mutex_);
    const FakeMixerSetup& setup = system_.mixer;
    if (static_cast<int>(source) == setup.sourceFailAt) return 1024;
    if (destination != setup.destination.destination || source >= setup.sources.size()) {
      return 1024;
    }
    line = setup.sources[source];
    return 0;
  }

  int GetControlByType(uint32_t lineId, uint32_t controlType, uint32_t& controlId) override {
    Lock lock(system_.mutex_);
    const FakeMixerSetup& setup = system_.mixer;
    auto it = setup.volumeControlOfLine.find(lineId);
    if (controlType != kMixerControlVolume || it == setup.volumeControlOfLine.end()) {
      return 1025;  // MIXERR_INVALCONTROL
    }
    controlId = it->second;
    return 0;
  }

  int GetUnsignedValues(uint32_t controlId, uint32_t channels, uint32_t* values) override {
    Lock lock(system_.mutex_);
    const FakeMixerSetup& setup = system_.mixer;
    if (setup.getResult != 0) return setup.getResult;
    auto it = setup.values.find(controlId);
    if (it == setup.values.end() || it->second.size() != channels) return 11;  // INVALPARAM
    std::copy(it->second.begin(), it->second.end(), values);
    return 0;
  }

  int SetUnsignedValues(uint32_t controlId, uint32_t channels, const uint32_t* values) override {
    Lock lock(system_.mutex_);
    FakeMixerSetup& setup = system_.mixer;
    if (setup.setResult != 0) return setup.setResult;
    auto it = setup.values.find(controlId);
    if (it == setup.values.end() || it->second.size() != channels) return 11;
    std::copy(values, values + channels, it->second.begin());
    return 0;
  }

 private:
  FakeWaveSystem& system_;
};

// ---- devices ----

bool FakeWaveDevice::closed() const {
  Lock lock(system_.mutex_);
  return closed_;
}

int FakeWaveDevice::closeCalls() const {
  Lock lock(system_.mutex_);
  return closeCalls_;
}

int FakeWaveDevice::resetCalls() const {
  Lock lock(system_.mutex_);
  return resetCalls_;
}

size_t FakeWaveDevice::held() const {
  Lock lock(system_.mutex_);
  return queue_.size();
}

std::vector<uint32_t> FakeWaveDevice::heldLengths() const {
  Lock lock(system_.mutex_);
  std::vector<uint32_t> lengths;
  for (const WaveBlock* block : queue_) lengths.push_back(block->length);
  return lengths;
}

bool FakeWaveDevice::abandonedOpen() const {
  Lock lock(system_.mutex_);
  return abandonedOpen_;
}

void FakeWaveDevice::release() {
  if (closed()) return;
  {
    Lock lock(system_.mutex_);
    abandonedOpen_ = true;
  }
  Reset();
  Lock lock(system_.mutex_);
  closed_ = true;
}

int FakeWaveDevice::Prepare(WaveBlock& block) {
  Lock lock(system_.mutex_);
  if (closed_) return kInvalidHandle;
  if (prepares_++ == failPrepareAt) return kWaveError;
  block.flags |= kWaveBlockPrepared;
  return kWaveOk;
}

int FakeWaveDevice::Unprepare(WaveBlock& block) {
  Lock lock(system_.mutex_);
  if (closed_) return kInvalidHandle;
  if (block.flags & kWaveBlockInQueue) return kWaveStillPlaying;
  block.flags &= ~kWaveBlockPrepared;
  return kWaveOk;
}

int FakeWaveDevice::hold(WaveBlock& block) {
  if (closed_) return kInvalidHandle;
  if (!(block.flags & kWaveBlockPrepared)) return kWaveUnprepared;
  if (block.flags & kWaveBlockInQueue) return kWaveStillPlaying;
  block.flags = (block.flags | kWaveBlockInQueue) & ~kWaveBlockDone;
  queue_.push_back(&block);
  return kWaveOk;
}

int FakeWaveDevice::Reset() {
  Lock lock(system_.mutex_);
  if (closed_) return kInvalidHandle;
  ++resetCalls_;
  for (WaveBlock* block : queue_) {
    block->flags = (block->flags | kWaveBlockDone) & ~kWaveBlockInQueue;
    system_.post(window_, WaveMessage::kBlockDone, block);
  }
  queue_.clear();
  return kWaveOk;
}

int FakeWaveDevice::Close() {
  Lock lock(system_.mutex_);
  if (closed_) return kInvalidHandle;
  ++closeCalls_;
  if (!queue_.empty()) return kWaveStillPlaying;
  if (failCloses > 0) {
    --failCloses;
    return kWaveError;
  }
  closed_ = true;
  system_.post(window_, WaveMessage::kClose, nullptr);
  return kWaveOk;
}

int FakeWaveIn::Add(WaveBlock& block) {
  Lock lock(system_.mutex_);
  if (failAdd) return kWaveError;
  return hold(block);
}

int FakeWaveIn::Start() {
  Lock lock(system_.mutex_);
  if (closed_) return kInvalidHandle;
  if (failStart) return kWaveError;
  started_ = true;
  return kWaveOk;
}

int FakeWaveIn::Stop() {
  Lock lock(system_.mutex_);
  if (closed_) return kInvalidHandle;
  started_ = false;
  return kWaveOk;
}

bool FakeWaveIn::started() const {
  Lock lock(system_.mutex_);
  return started_;
}

bool FakeWaveIn::Capture(const std::vector<uint8_t>& bytes) {
  Lock lock(system_.mutex_);
  if (closed_ || !started_ || queue_.empty()) return false;
  WaveBlock* block = queue_.front();
  queue_.pop_front();
  const size_t n = std::min<size_t>(bytes.size(), block->length);
  if (n > 0) std::memcpy(block->data, bytes.data(), n);
  block->recorded = static_cast<uint32_t>(n);
  block->flags = (block->flags | kWaveBlockDone) & ~kWaveBlockInQueue;
  system_.post(window_, WaveMessage::kBlockDone, block);
  return true;
}

int FakeWaveOut::Write(WaveBlock& block) {
  Lock lock(system_.mutex_);
  if (failWrite) return kWaveError;
  const int result = hold(block);
  if (result != kWaveOk) return result;
  ++writeCount_;
  if (keepCopies) written_.emplace_back(block.data, block.data + block.length);
  if (onWrite) onWrite(block);
  if (autoReturn) {
    queue_.pop_back();
    block.flags = (block.flags | kWaveBlockDone) & ~kWaveBlockInQueue;
    system_.post(window_, WaveMessage::kBlockDone, &block);
  }
  return kWaveOk;
}

int FakeWaveOut::Pause() {
  Lock lock(system_.mutex_);
  if (closed_) return kInvalidHandle;
  if (failPause) return kWaveError;
  paused_ = true;
  return kWaveOk;
}

bool FakeWaveOut::ReturnOldest() {
  Lock lock(system_.mutex_);
  if (queue_.empty()) return false;
  WaveBlock* block = queue_.front();
  queue_.pop_front();
  block->flags = (block->flags | kWaveBlockDone) & ~kWaveBlockInQueue;
  system_.post(window_, WaveMessage::kBlockDone, block);
  return true;
}

std::vector<std::vector<uint8_t>> FakeWaveOut::written() const {
  Lock lock(system_.mutex_);
  return written_;
}

std::vector<std::vector<uint8_t>> FakeWaveOut::heldData() const {
  Lock lock(system_.mutex_);
  std::vector<std::vector<uint8_t>> data;
  for (const WaveBlock* block : queue_) data.emplace_back(block->data, block->data + block->length);
  return data;
}

size_t FakeWaveOut::writeCount() const {
  Lock lock(system_.mutex_);
  return writeCount_;
}

bool FakeWaveOut::paused() const {
  Lock lock(system_.mutex_);
  return paused_;
}

// ---- the system ----

FakeWaveSystem::~FakeWaveSystem() {
  Lock lock(mutex_);
  EXPECT_TRUE(windows_.empty()) << windows_.size() << " notification windows left";
}

std::unique_ptr<INotificationWindow> FakeWaveSystem::CreateNotificationWindow(IWaveNotify& sink) {
  Lock lock(mutex_);
  if (failWindow) return nullptr;
  const uintptr_t handle = nextWindow_++;
  windows_[handle] = &sink;
  return std::make_unique<FakeNotificationWindow>(*this, handle);
}

void FakeWaveSystem::destroyWindow(uintptr_t handle) {
  Lock lock(mutex_);
  windows_.erase(handle);
}

int FakeWaveSystem::liveWindows() const {
  Lock lock(mutex_);
  return static_cast<int>(windows_.size());
}

void FakeWaveSystem::post(uintptr_t window, WaveMessage message, WaveBlock* block) {
  if (ringCount_ == kRing) {
    ADD_FAILURE() << "more than " << kRing << " notifications waiting: pump more often";
    return;
  }
  ring_[(ringStart_ + ringCount_) % kRing] = Posted{window, message, block};
  ++ringCount_;
  posted_.notify_all();
}

int FakeWaveSystem::Pump() {
  int delivered = 0;
  for (;;) {
    IWaveNotify* sink = nullptr;
    Posted next{};
    {
      Lock lock(mutex_);
      if (ringCount_ == 0) return delivered;
      next = ring_[ringStart_];
      ringStart_ = (ringStart_ + 1) % kRing;
      --ringCount_;
      auto it = windows_.find(next.window);
      if (it != windows_.end()) sink = it->second;
    }
    if (sink == nullptr) continue;
    sink->OnWaveMessage(next.message, next.block);
    ++delivered;
  }
}

int FakeWaveSystem::WaitAndPump(int timeoutMs) {
  {
    std::unique_lock<std::mutex> lock(mutex_);
    posted_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return ringCount_ > 0; });
  }
  return Pump();
}

template <class Fake, class Handle, class Interface>
int FakeWaveSystem::open(const WaveFormat& format, const INotificationWindow& window, int failure,
                         int& opens, Fake*& last, const std::function<void(Fake&)>& onOpened,
                         std::unique_ptr<Interface>& device) {
  Fake* fake = nullptr;
  {
    Lock lock(mutex_);
    ++opens;
    if (failure != 0) return failure;
    if (windows_.count(window.Handle()) == 0) return kInvalidHandle;
    devices_.push_back(std::make_unique<Fake>(*this, window.Handle(), format));
    fake = static_cast<Fake*>(devices_.back().get());
    last = fake;
    post(window.Handle(), WaveMessage::kOpen, nullptr);
  }
  if (onOpened) onOpened(*fake);
  device = std::make_unique<Handle>(*fake);
  return kWaveOk;
}

int FakeWaveSystem::OpenInput(const WaveFormat& format, const INotificationWindow& window,
                              std::unique_ptr<IWaveInDevice>& device) {
  return open<FakeWaveIn, InHandle>(format, window, openInputResult, inputOpens_, lastInput_,
                                    onInputOpened, device);
}

int FakeWaveSystem::OpenOutput(const WaveFormat& format, const INotificationWindow& window,
                               std::unique_ptr<IWaveOutDevice>& device) {
  return open<FakeWaveOut, OutHandle>(format, window, openOutputResult, outputOpens_, lastOutput_,
                                      onOutputOpened, device);
}

int FakeWaveSystem::GetOutputVolume(uint32_t& value) {
  Lock lock(mutex_);
  if (volumeResult != 0) return volumeResult;
  value = volume;
  return kWaveOk;
}

int FakeWaveSystem::SetOutputVolume(uint32_t value) {
  Lock lock(mutex_);
  if (volumeResult != 0) return volumeResult;
  volume = value;
  return kWaveOk;
}

int FakeWaveSystem::OpenMixer(unsigned id, std::unique_ptr<IMixerDevice>& device) {
  Lock lock(mutex_);
  if (id >= mixerCount) return kWaveBadDevice;
  if (mixer.openResult != 0) return mixer.openResult;
  device = std::make_unique<FakeMixer>(*this);
  return kWaveOk;
}

}  // namespace pel::test
