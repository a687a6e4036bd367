// The wave devices and the mixer over winmm under Wine: with pulseaudio's null sink and null
// source (WithSoundServer*), and with no sound server at all (NoSoundServer*).

#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "WinAudioRig.h"
#include "audio/AudioModeTable.h"
#include "audio/AudioPlayer.h"
#include "audio/AudioRecorder.h"
#include "audio/AudioResult.h"
#include "audio/WaveBlockSet.h"
#include "audio/codec/AudioCodecFactory.h"
#include "audio/win/WinNotificationOwner.h"
#include "audio/win/WinWaveDevices.h"

namespace {

using namespace std::chrono_literals;
using pel::wintest::ChildWindowCount;
using pel::wintest::HiddenOwner;
using pel::wintest::PumpMessages;

constexpr int kModes[] = {pel::kAudioModeG726, pel::kAudioModeMuLaw, pel::kAudioModeIma};

pel::AudioModeLayout Layout(int mode) {
  pel::AudioModeLayout layout{};
  EXPECT_TRUE(pel::LookUpAudioMode(mode, layout)) << mode;
  return layout;
}

// One captured block of a square tone, coded as the recorder codes it: a packet's payload.
std::vector<uint8_t> CodedBlock(int mode) {
  const pel::AudioModeLayout layout = Layout(mode);
  std::vector<uint8_t> captured(layout.captureBytes);
  for (size_t i = 0; i < captured.size(); ++i) captured[i] = (i / 32) % 2 ? 0x30 : 0xD0;
  const pel::GainTable gains = pel::MakeGainTable();
  const int gainIndex = pel::kDefaultGainIndex;
  auto codec = pel::MakeAudioCodec(mode);
  if (!codec) return {};
  codec->SetUp(&gains, &gainIndex, nullptr);
  std::vector<uint8_t> payload(layout.packetBytes - 60);
  if (codec->Encode(captured.data(), layout.encoderInput, payload.data(), payload.size()) <= 0) {
    return {};
  }
  return payload;
}

// Counts what a wave-input device reports and hands every returned block back to it, as the
// recorder does.
class CaptureCounter : public pel::IWaveNotify {
 public:
  void OnWaveMessage(pel::WaveMessage message, pel::WaveBlock* block) override {
    if (message == pel::WaveMessage::kOpen) ++opens;
    if (message == pel::WaveMessage::kClose) ++closes;
    if (message != pel::WaveMessage::kBlockDone || block == nullptr || stopping) return;
    ++blocks;
    if (block->recorded != block->length) ++partial;
    if ((block->flags & pel::kWaveBlockDone) == 0) ++notDone;
    if (device->Unprepare(*block) != pel::kWaveOk || device->Prepare(*block) != pel::kWaveOk ||
        device->Add(*block) != pel::kWaveOk) {
      ++requeueFailures;
    }
  }

  pel::IWaveInDevice* device = nullptr;
  bool stopping = false;
  int opens = 0, closes = 0, blocks = 0, partial = 0, notDone = 0, requeueFailures = 0;
};

TEST(NoSoundServer, NoDevicesAndTheCoreAnswersNoDevice) {
  pel::win::WinWaveDevices devices;
  EXPECT_EQ(0u, devices.InputDeviceCount());
  EXPECT_EQ(0u, devices.OutputDeviceCount());
  EXPECT_EQ(0u, devices.MixerCount());
  HiddenOwner owner;
  ASSERT_NE(nullptr, owner.get());
  pel::win::WinNotificationOwner notify(owner.get());
  for (const int mode : kModes) {
    pel::AudioRecorder recorder(devices);
    EXPECT_EQ(pel::AUDIO_NO_DEVICE, recorder.Open(notify, mode)) << mode;
    EXPECT_FALSE(recorder.IsOpen());
    pel::AudioPlayer player(devices);
    EXPECT_EQ(pel::AUDIO_NO_DEVICE, player.Open(notify, mode)) << mode;
  }
  pel::AudioRecorder recorder(devices);
  EXPECT_EQ(0, recorder.GetMicLevel());
  EXPECT_EQ(0, recorder.SetMicLevel(1000));
  pel::AudioPlayer player(devices);
  EXPECT_EQ(0, player.SetVolume(1000));
  EXPECT_EQ(0, ChildWindowCount(owner.get()));
}

class WithSoundServer : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(nullptr, owner_.get());
    ASSERT_GT(devices_.InputDeviceCount(), 0u) << "no wave-input device: no sound server?";
    ASSERT_GT(devices_.OutputDeviceCount(), 0u);
  }
  void TearDown() override {
    EXPECT_EQ(0, ChildWindowCount(owner_.get())) << "notification windows left behind";
  }

  pel::win::WinWaveDevices devices_;
  HiddenOwner owner_;
  pel::win::WinNotificationOwner notify_{owner_.get()};
};

class WithSoundServerMode : public WithSoundServer, public testing::WithParamInterface<int> {};

TEST_P(WithSoundServerMode, CapturesFullBlocksAtTheDevicesPace) {
  const pel::AudioModeLayout layout = Layout(GetParam());
  CaptureCounter counter;
  auto window = notify_.CreateNotificationWindow(counter);
  ASSERT_NE(nullptr, window);
  EXPECT_EQ(1, ChildWindowCount(owner_.get()));
  std::unique_ptr<pel::IWaveInDevice> device;
  ASSERT_EQ(pel::kWaveOk, devices_.OpenInput(layout.format, *window, device));
  ASSERT_NE(nullptr, device);
  pel::WaveBlockSet blocks;
  ASSERT_TRUE(blocks.Allocate(layout.captureBytes));
  for (int i = 0; i < pel::WaveBlockSet::kCount; ++i) {
    ASSERT_EQ(pel::kWaveOk, device->Prepare(blocks[i]));
    EXPECT_NE(0u, blocks[i].flags & pel::kWaveBlockPrepared);
    ASSERT_EQ(pel::kWaveOk, device->Add(blocks[i]));
  }
  counter.device = device.get();

  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(pel::kWaveOk, device->Start());
  PumpMessages(1500ms);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double expected = seconds * layout.format.averageBytesPerSecond / layout.captureBytes;
  std::printf("mode %d: %d blocks of %zu bytes in %.2f s (%.1f at the real rate)\n", GetParam(),
              counter.blocks, layout.captureBytes, seconds, expected);
  // A sanity bound, no more: blocks handed back unfilled, or never, fall far outside it.
  EXPECT_GE(counter.blocks, expected / 3);
  EXPECT_LE(counter.blocks, expected * 2 + 4);
  EXPECT_EQ(1, counter.opens);
  EXPECT_EQ(0, counter.partial);
  EXPECT_EQ(0, counter.notDone);
  EXPECT_EQ(0, counter.requeueFailures);

  counter.stopping = true;
  EXPECT_EQ(pel::kWaveOk, device->Stop());
  EXPECT_EQ(pel::kWaveOk, device->Reset());
  for (int i = 0; i < pel::WaveBlockSet::kCount; ++i) {
    EXPECT_EQ(pel::kWaveOk, device->Unprepare(blocks[i]));
    EXPECT_EQ(0u, blocks[i].flags & pel::kWaveBlockPrepared);
  }
  EXPECT_EQ(pel::kWaveOk, device->Close());
  EXPECT_TRUE(PumpMessages(1s, [&] { return counter.closes == 1; }));
  EXPECT_EQ(MMSYSERR_INVALHANDLE, device->Start());
  device.reset();
  window.reset();
}

TEST_P(WithSoundServerMode, PlayedBlocksComeBackToTheWindowsThread) {
  const int mode = GetParam();
  const std::vector<uint8_t> payload = CodedBlock(mode);
  ASSERT_FALSE(payload.empty());
  pel::AudioPlayer player(devices_);
  ASSERT_EQ(pel::AUDIO_OK, player.Open(notify_, mode));
  EXPECT_EQ(pel::AUDIO_ALREADY_OPEN, player.Open(notify_, mode));
  EXPECT_EQ(1, ChildWindowCount(owner_.get()));

  // Written on a receive thread while this thread takes the returned blocks, as connected.
  constexpr int kBlocks = 3;
  std::atomic<int> queued{0};
  std::atomic<int> refused{0};
  std::thread receiver([&] {
    for (int i = 0; i < kBlocks; ++i) {
      if (player.Write(payload.data(), payload.size()) == pel::AUDIO_OK) {
        ++queued;
      } else {
        ++refused;
      }
    }
  });
  const bool drained = PumpMessages(
      5s, [&] { return queued + refused == kBlocks && player.Pending() == 0; });
  receiver.join();
  EXPECT_TRUE(drained);
  EXPECT_EQ(kBlocks, queued.load());
  EXPECT_EQ(0, player.Pending());
  player.Close();
  EXPECT_FALSE(player.IsOpen());
  EXPECT_EQ(pel::AUDIO_PLAYER_NOT_OPEN, player.Write(payload.data(), payload.size()));
}

TEST_P(WithSoundServerMode, RecorderOpensAndClosesRepeatedly) {
  const int mode = GetParam();
  pel::AudioRecorder recorder(devices_);
  for (int round = 0; round < 2; ++round) {
    ASSERT_EQ(pel::AUDIO_OK, recorder.Open(notify_, mode)) << round;
    EXPECT_EQ(pel::AUDIO_ALREADY_OPEN, recorder.Open(notify_, mode));
    EXPECT_EQ(1, ChildWindowCount(owner_.get()));
    PumpMessages(400ms);
    recorder.Close();
    EXPECT_FALSE(recorder.IsOpen());
    EXPECT_EQ(0, ChildWindowCount(owner_.get()));
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, WithSoundServerMode, testing::ValuesIn(kModes));

TEST_F(WithSoundServer, MixerVolumeOfAWaveInputLine) {
  ASSERT_GT(devices_.MixerCount(), 0u);
  // Wine gives each endpoint a mixer of its own: take one with a wave-input destination.
  std::unique_ptr<pel::IMixerDevice> mixer;
  pel::MixerLine line;
  bool found = false;
  for (unsigned id = 0; id < devices_.MixerCount() && !found; ++id) {
    mixer.reset();
    ASSERT_EQ(pel::kWaveOk, devices_.OpenMixer(id, mixer));
    found = mixer->GetLineByComponentType(pel::kMixerDestinationWaveIn, line) == pel::kWaveOk;
  }
  ASSERT_TRUE(found);
  EXPECT_EQ(pel::kMixerDestinationWaveIn, line.componentType);
  ASSERT_GT(line.channels, 0u);
  uint32_t control = 0;
  ASSERT_EQ(pel::kWaveOk, mixer->GetControlByType(line.lineId, pel::kMixerControlVolume, control));
  const std::vector<uint32_t> wanted(line.channels, 30000);
  std::vector<uint32_t> read(line.channels);
  ASSERT_EQ(pel::kWaveOk, mixer->SetUnsignedValues(control, line.channels, wanted.data()));
  ASSERT_EQ(pel::kWaveOk, mixer->GetUnsignedValues(control, line.channels, read.data()));
  // Wine keeps one value for all channels, as a fraction, and reports it in the first.
  EXPECT_NEAR(wanted[0], read[0], 1u);
  EXPECT_NE(pel::kWaveOk, mixer->GetUnsignedValues(control, 0, read.data()));
  if (line.connections > 0) {
    pel::MixerLine source;
    EXPECT_EQ(pel::kWaveOk, mixer->GetLineBySource(line.destination, 0, source));
    EXPECT_EQ(line.destination, source.destination);
  }
}

TEST_F(WithSoundServer, SpeakerVolumeOfOutputDeviceZero) {
  pel::AudioPlayer player(devices_);
  ASSERT_EQ(1, player.SetVolume(20000));
  EXPECT_NEAR(20000, player.GetVolume(), 1);
  ASSERT_EQ(1, player.SetVolume(70000));
  EXPECT_EQ(65535, player.GetVolume());
}

}  // namespace
