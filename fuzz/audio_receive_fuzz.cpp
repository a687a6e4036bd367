// Arbitrary datagrams into the receive path: the record joiner, the check of each joined Jes
// packet's lengths, and the player with its decoders, over a wave-output device that holds
// blocks until the input says to return the oldest. The datagrams go through the receive
// loop's steps in the loop's order, without its socket and thread: a logout acknowledgement
// ends the loop, and what was joined is played on the way out.
//
// Input: one byte choosing the codec mode (1, 2 or 9), then steps: a byte with the top bit set
// returns the oldest block the device holds; otherwise its low seven bits give the length of
// the datagram that follows.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <vector>

#include "audio/AudioPacketJoiner.h"
#include "audio/AudioPlayer.h"
#include "ports/WaveDevices.h"

using namespace pel;

namespace {

class Window : public INotificationWindow {
 public:
  uintptr_t Handle() const override { return 1; }
};

// A wave-output device that keeps what it is given, as the real one does.
class HoldingOutput : public IWaveOutDevice {
 public:
  explicit HoldingOutput(IWaveNotify& sink) : sink_(sink) {}
  int Prepare(WaveBlock& block) override {
    block.flags |= kWaveBlockPrepared;
    return kWaveOk;
  }
  int Unprepare(WaveBlock& block) override {
    if (block.flags & kWaveBlockInQueue) return kWaveStillPlaying;
    block.flags &= ~kWaveBlockPrepared;
    return kWaveOk;
  }
  int Write(WaveBlock& block) override {
    if (!(block.flags & kWaveBlockPrepared)) return kWaveUnprepared;
    if (block.flags & kWaveBlockInQueue) __builtin_trap();  // handed a block it still holds
    block.flags |= kWaveBlockInQueue;
    // Read every byte offered, so a block pointing anywhere else is caught: one checked copy
    // of the whole range rather than a traced loop over thousands of bytes.
    static std::vector<uint8_t> seen;
    if (seen.size() < block.length) seen.resize(block.length);
    std::memcpy(seen.data(), block.data, block.length);
    held_.push_back(&block);
    return kWaveOk;
  }
  int Pause() override { return kWaveOk; }
  int Reset() override {
    while (!held_.empty()) ReturnOldest();
    return kWaveOk;
  }
  int Close() override { return held_.empty() ? kWaveOk : kWaveStillPlaying; }
  void ReturnOldest() {
    if (held_.empty()) return;
    WaveBlock* block = held_.front();
    held_.pop_front();
    block->flags = (block->flags | kWaveBlockDone) & ~kWaveBlockInQueue;
    sink_.OnWaveMessage(WaveMessage::kBlockDone, block);
  }

 private:
  IWaveNotify& sink_;
  std::deque<WaveBlock*> held_;
};

class Devices : public IWaveDevices, public INotificationOwner {
 public:
  unsigned InputDeviceCount() override { return 0; }
  unsigned OutputDeviceCount() override { return 1; }
  int OpenInput(const WaveFormat&, const INotificationWindow&,
                std::unique_ptr<IWaveInDevice>&) override {
    return kWaveBadDevice;
  }
  int OpenOutput(const WaveFormat&, const INotificationWindow&,
                 std::unique_ptr<IWaveOutDevice>& device) override {
    auto output = std::make_unique<HoldingOutput>(*sink_);
    output_ = output.get();
    device = std::move(output);
    return kWaveOk;
  }
  int GetOutputVolume(uint32_t&) override { return kWaveError; }
  int SetOutputVolume(uint32_t) override { return kWaveError; }
  unsigned MixerCount() override { return 0; }
  int OpenMixer(unsigned, std::unique_ptr<IMixerDevice>&) override { return kWaveBadDevice; }
  std::unique_ptr<INotificationWindow> CreateNotificationWindow(IWaveNotify& sink) override {
    sink_ = &sink;
    return std::make_unique<Window>();
  }
  HoldingOutput* output() { return output_; }

 private:
  IWaveNotify* sink_ = nullptr;
  HoldingOutput* output_ = nullptr;
};

class NoPause : public IRetryPause {
 public:
  void Pause(int) override {}
};

void Deliver(AudioPacketJoiner& joiner, AudioPlayer& player) {
  const uint8_t* payload = nullptr;
  size_t length = 0;
  if (joiner.TakePacket(&payload, &length)) player.Write(payload, length);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const int kModes[3] = {1, 2, 9};
  const int mode = kModes[data[0] % 3];
  Devices devices;
  NoPause pause;
  AudioPlayer player(devices, pause);
  if (player.Open(devices, mode) != 1 || devices.output() == nullptr) __builtin_trap();
  AudioPacketJoiner joiner;
  size_t at = 1;
  while (at < size) {
    const uint8_t step = data[at++];
    if (step & 0x80) {
      devices.output()->ReturnOldest();
      continue;
    }
    const size_t length = step < size - at ? step : size - at;
    // A datagram of exactly its own size, so that any read past it is caught.
    std::unique_ptr<uint8_t[]> datagram(new uint8_t[length == 0 ? 1 : length]);
    std::memcpy(datagram.get(), data + at, length);
    at += length;
    switch (joiner.Add(datagram.get(), length)) {
      case AudioPacketJoiner::Step::kPacket:
        Deliver(joiner, player);
        break;
      case AudioPacketJoiner::Step::kLogoutAck:
        at = size;
        break;
      case AudioPacketJoiner::Step::kNone:
        break;
    }
    if (player.Pending() < 0 || player.Pending() > 4) __builtin_trap();
  }
  Deliver(joiner, player);
  player.Close();
  return 0;
}
