#include "pelprobe/ConsoleWaveDevices.h"

#include <algorithm>
#include <optional>
#include <thread>

namespace pel::probe {

namespace {

constexpr int kInvalidHandle = 5;  // MMSYSERR_INVALHANDLE

using Lock = std::unique_lock<std::mutex>;
using Clock = ConsoleWaveSystem::Clock;

}  // namespace

class ConsoleNotificationWindow : public INotificationWindow {
 public:
  ConsoleNotificationWindow(ConsoleWaveSystem& system, uintptr_t handle)
      : system_(system), handle_(handle) {}
  ~ConsoleNotificationWindow() override { system_.Unregister(handle_); }
  uintptr_t Handle() const override { return handle_; }

 private:
  ConsoleWaveSystem& system_;
  uintptr_t handle_;
};

// What both devices share: the block flags, the held blocks and a thread that acts when the
// next held block is due.
class PacedDevice {
 public:
  PacedDevice(ConsoleWaveSystem& system, uintptr_t window, const WaveFormat& format,
              bool captures)
      : system_(system), window_(window), format_(format), captures_(captures) {}
  virtual ~PacedDevice() = default;
  PacedDevice(const PacedDevice&) = delete;
  PacedDevice& operator=(const PacedDevice&) = delete;

  int PrepareBlock(WaveBlock& block) {
    Lock lock(mutex_);
    if (closed_) return kInvalidHandle;
    block.flags |= kWaveBlockPrepared;
    return kWaveOk;
  }

  int UnprepareBlock(WaveBlock& block) {
    Lock lock(mutex_);
    if (closed_) return kInvalidHandle;
    if (block.flags & kWaveBlockInQueue) return kWaveStillPlaying;
    block.flags &= ~kWaveBlockPrepared;
    return kWaveOk;
  }

  int ResetDevice() {
    Lock lock(mutex_);
    if (closed_) return kInvalidHandle;
    OnReset();
    while (!queue_.empty()) ReturnFront(false);
    changed_.notify_all();
    return kWaveOk;
  }

  int CloseDevice() {
    Lock lock(mutex_);
    if (closed_) return kInvalidHandle;
    if (!queue_.empty()) return kWaveStillPlaying;
    closed_ = true;
    changed_.notify_all();
    return kWaveOk;
  }

 protected:
  void StartThread() { thread_ = std::thread([this] { Run(); }); }

  // For the derived destructor: a device still open is reset and closed, the thread ends.
  void Shutdown() {
    {
      Lock lock(mutex_);
      if (!closed_) {
        OnReset();
        while (!queue_.empty()) ReturnFront(false);
        closed_ = true;
      }
      quit_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
  }

  Clock::duration DurationOf(size_t bytes) const {
    const uint32_t rate = std::max<uint32_t>(format_.averageBytesPerSecond, 1);
    return std::chrono::duration_cast<Clock::duration>(std::chrono::microseconds(
        static_cast<int64_t>(bytes) * 1000000 / static_cast<int64_t>(rate)));
  }

  // Takes a prepared block that the device does not hold yet.
  int Hold(WaveBlock& block) {
    if (closed_) return kInvalidHandle;
    if (!(block.flags & kWaveBlockPrepared)) return kWaveUnprepared;
    if (block.flags & kWaveBlockInQueue) return kWaveStillPlaying;
    block.flags = (block.flags | kWaveBlockInQueue) & ~kWaveBlockDone;
    queue_.push_back(&block);
    changed_.notify_all();
    return kWaveOk;
  }

  // Returns the oldest held block to its window (with mutex_ held).
  void ReturnFront(bool filled) {
    WaveBlock* block = queue_.front();
    queue_.pop_front();
    if (!filled && captures_) block->recorded = 0;
    block->flags = (block->flags | kWaveBlockDone) & ~kWaveBlockInQueue;
    system_.Post(window_, WaveMessage::kBlockDone, block, captures_);
  }

  void CountPlayed() { system_.CountPlayed(); }

  // With mutex_ held: when the device acts next (nothing: it waits for a change).
  virtual std::optional<Clock::time_point> NextDue() const = 0;
  virtual void OnDue(Clock::time_point now) = 0;
  virtual void OnReset() {}

  ConsoleWaveSystem& system_;
  const uintptr_t window_;
  const WaveFormat format_;
  const bool captures_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<WaveBlock*> queue_;
  bool closed_ = false;

 private:
  void Run() {
    Lock lock(mutex_);
    while (!quit_) {
      const std::optional<Clock::time_point> due = NextDue();
      if (!due) {
        changed_.wait(lock);
      } else if (Clock::now() < *due) {
        changed_.wait_until(lock, *due);
      } else {
        OnDue(Clock::now());
      }
    }
  }

  bool quit_ = false;
  std::thread thread_;
};

namespace {

// Captures one block per block's worth of time while started. When it ran out of blocks, the
// next block given back starts a new block's time: what would have been captured meanwhile is
// lost, as with a real device.
class PacedWaveIn : public PacedDevice, public IWaveInDevice {
 public:
  PacedWaveIn(ConsoleWaveSystem& system, uintptr_t window, const WaveFormat& format,
              CaptureSource& source)
      : PacedDevice(system, window, format, true), source_(source) {
    StartThread();
  }
  ~PacedWaveIn() override { Shutdown(); }

  int Prepare(WaveBlock& block) override { return PrepareBlock(block); }
  int Unprepare(WaveBlock& block) override { return UnprepareBlock(block); }
  int Reset() override { return ResetDevice(); }
  int Close() override { return CloseDevice(); }

  int Add(WaveBlock& block) override {
    Lock lock(mutex_);
    const bool dry = queue_.empty();
    const int result = Hold(block);
    const Clock::time_point now = Clock::now();
    if (result == kWaveOk && dry && started_ && due_ < now) due_ = now + DurationOf(block.length);
    return result;
  }

  int Start() override {
    Lock lock(mutex_);
    if (closed_) return kInvalidHandle;
    if (!started_) {
      started_ = true;
      const size_t bytes = queue_.empty() ? 0 : queue_.front()->length;
      due_ = Clock::now() + DurationOf(bytes);
      changed_.notify_all();
    }
    return kWaveOk;
  }

  int Stop() override {
    Lock lock(mutex_);
    if (closed_) return kInvalidHandle;
    started_ = false;
    return kWaveOk;
  }

 private:
  std::optional<Clock::time_point> NextDue() const override {
    if (!started_ || queue_.empty()) return std::nullopt;
    return due_;
  }

  void OnDue(Clock::time_point) override {
    WaveBlock* block = queue_.front();
    source_.Fill(block->data, block->length);
    block->recorded = block->length;
    due_ += DurationOf(block->length);
    ReturnFront(true);
  }

  void OnReset() override { started_ = false; }

  CaptureSource& source_;
  bool started_ = false;
  Clock::time_point due_{};
};

// Plays the blocks one after the other, each taking its length's worth of time.
class PacedWaveOut : public PacedDevice, public IWaveOutDevice {
 public:
  PacedWaveOut(ConsoleWaveSystem& system, uintptr_t window, const WaveFormat& format,
               PlaybackSink* sink)
      : PacedDevice(system, window, format, false), sink_(sink) {
    StartThread();
  }
  ~PacedWaveOut() override { Shutdown(); }

  int Prepare(WaveBlock& block) override { return PrepareBlock(block); }
  int Unprepare(WaveBlock& block) override { return UnprepareBlock(block); }
  int Reset() override { return ResetDevice(); }
  int Close() override { return CloseDevice(); }

  int Write(WaveBlock& block) override {
    Lock lock(mutex_);
    const int result = Hold(block);
    if (result != kWaveOk) return result;
    const Clock::time_point start = std::max(Clock::now(), lastEnd_);
    lastEnd_ = start + DurationOf(block.length);
    ends_.push_back(lastEnd_);
    if (sink_ != nullptr) sink_->Play(block.data, block.length);
    CountPlayed();
    return kWaveOk;
  }

  int Pause() override {
    Lock lock(mutex_);
    if (closed_) return kInvalidHandle;
    paused_ = true;
    return kWaveOk;
  }

 private:
  std::optional<Clock::time_point> NextDue() const override {
    if (paused_ || ends_.empty()) return std::nullopt;
    return ends_.front();
  }

  void OnDue(Clock::time_point) override {
    ends_.pop_front();
    ReturnFront(true);
  }

  void OnReset() override {
    ends_.clear();
    paused_ = false;
  }

  PlaybackSink* sink_;
  std::deque<Clock::time_point> ends_;
  Clock::time_point lastEnd_{};
  bool paused_ = false;
};

}  // namespace

ConsoleWaveSystem::~ConsoleWaveSystem() = default;

int ConsoleWaveSystem::OpenInput(const WaveFormat& format, const INotificationWindow& window,
                                 std::unique_ptr<IWaveInDevice>& device) {
  device = std::make_unique<PacedWaveIn>(*this, window.Handle(), format, source_);
  return kWaveOk;
}

int ConsoleWaveSystem::OpenOutput(const WaveFormat& format, const INotificationWindow& window,
                                  std::unique_ptr<IWaveOutDevice>& device) {
  device = std::make_unique<PacedWaveOut>(*this, window.Handle(), format, sink_);
  return kWaveOk;
}

int ConsoleWaveSystem::GetOutputVolume(uint32_t& volume) {
  std::lock_guard<std::mutex> lock(mutex_);
  volume = volume_;
  return kWaveOk;
}

int ConsoleWaveSystem::SetOutputVolume(uint32_t volume) {
  std::lock_guard<std::mutex> lock(mutex_);
  volume_ = volume;
  return kWaveOk;
}

std::unique_ptr<INotificationWindow> ConsoleWaveSystem::CreateNotificationWindow(
    IWaveNotify& sink) {
  std::lock_guard<std::mutex> lock(mutex_);
  const uintptr_t handle = nextWindow_++;
  windows_[handle] = &sink;
  return std::make_unique<ConsoleNotificationWindow>(*this, handle);
}

void ConsoleWaveSystem::Unregister(uintptr_t window) {
  std::lock_guard<std::mutex> lock(mutex_);
  windows_.erase(window);
}

void ConsoleWaveSystem::Post(uintptr_t window, WaveMessage message, WaveBlock* block,
                             bool captured) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.push_back(Posted{window, message, block, captured});
  }
  posted_.notify_all();
}

void ConsoleWaveSystem::CountPlayed() {
  std::lock_guard<std::mutex> lock(mutex_);
  ++played_;
}

uint64_t ConsoleWaveSystem::BlocksPlayed() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return played_;
}

void ConsoleWaveSystem::PumpUntil(Clock::time_point deadline, const std::function<bool()>& done) {
  for (;;) {
    if (done && done()) return;
    Posted posted{};
    IWaveNotify* sink = nullptr;
    {
      Lock lock(mutex_);
      if (!posted_.wait_until(lock, deadline, [this] { return !queue_.empty(); })) return;
      posted = queue_.front();
      queue_.pop_front();
      // A window destroyed meanwhile loses its notifications, as on Windows.
      auto it = windows_.find(posted.window);
      if (it != windows_.end()) sink = it->second;
    }
    if (sink == nullptr) continue;
    if (posted.captured && posted.message == WaveMessage::kBlockDone && captureHook_) {
      captureHook_();
    }
    sink->OnWaveMessage(posted.message, posted.block);
  }
}

}  // namespace pel::probe
