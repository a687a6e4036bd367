// AudioPlayer against fake wave devices that hold written blocks until the test returns them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "audio/AudioPlayer.h"
#include "audio/AudioResult.h"
#include "audio/codec/G726Codec.h"
#include "audio/codec/ImaAdpcmCodec.h"
#include "support/DiagnosticCapture.h"
#include "support/FakeWaveDevices.h"
#include "support/FixedClock.h"

namespace pel {
namespace {

using Bytes = std::vector<uint8_t>;
using test::CountingPause;
using test::FakeWaveSystem;

const char kDropLine[] = "\n\n\t\tDrop audio packet!!!!!!!!!!!\n\n\n";

Bytes Filled(size_t size, uint8_t value) { return Bytes(size, value); }

Bytes Ramp(size_t size, unsigned seed) {
  Bytes bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(seed + i * 13 + (i >> 8));
  return bytes;
}

struct FormatCase {
  int mode;
  uint16_t tag;
  uint16_t channels;
  uint16_t bits;
  uint16_t align;
  uint32_t bytesPerSecond;
};

class PlayerFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(PlayerFormat, OpensTheDefaultOutputWithTheModesFormat) {
  const FormatCase& c = GetParam();
  FakeWaveSystem system;
  AudioPlayer player(system);
  ASSERT_EQ(player.Open(system, c.mode), AUDIO_OK);
  EXPECT_TRUE(player.IsOpen());
  const WaveFormat& format = system.output()->format();
  EXPECT_EQ(format.formatTag, c.tag);
  EXPECT_EQ(format.channels, c.channels);
  EXPECT_EQ(format.samplesPerSecond, 8000u);
  EXPECT_EQ(format.bitsPerSample, c.bits);
  EXPECT_EQ(format.blockAlign, c.align);
  EXPECT_EQ(format.averageBytesPerSecond, c.bytesPerSecond);
  EXPECT_EQ(system.liveWindows(), 1);
}

INSTANTIATE_TEST_SUITE_P(Modes, PlayerFormat,
                         ::testing::Values(FormatCase{1, kWaveFormatPcm, 2, 16, 4, 32000},
                                           FormatCase{2, kWaveFormatMuLaw, 1, 8, 1, 8000},
                                           FormatCase{9, kWaveFormatPcm, 1, 16, 2, 16000}));

TEST(AudioPlayer, OpenFailures) {
  {
    FakeWaveSystem system;
    system.outputDevices = 0;
    AudioPlayer player(system);
    EXPECT_EQ(player.Open(system, 2), AUDIO_NO_DEVICE);
    EXPECT_EQ(system.outputOpens(), 0);
  }
  {
    FakeWaveSystem system;
    AudioPlayer player(system);
    ASSERT_EQ(player.Open(system, 2), AUDIO_OK);
    EXPECT_EQ(player.Open(system, 1), AUDIO_ALREADY_OPEN);
    EXPECT_EQ(system.outputOpens(), 1);
    EXPECT_EQ(system.output()->format().formatTag, kWaveFormatMuLaw);  // kept as it was
  }
  for (int mode : {0, 3, 8, 10, -1}) {
    FakeWaveSystem system;
    AudioPlayer player(system);
    EXPECT_EQ(player.Open(system, mode), AUDIO_PLAYER_OPEN_FAILED) << mode;
    EXPECT_EQ(system.outputOpens(), 0);
    EXPECT_EQ(system.liveWindows(), 0) << "the notification window of a failed open is kept";
  }
  {
    FakeWaveSystem system;
    system.failWindow = true;
    AudioPlayer player(system);
    EXPECT_EQ(player.Open(system, 9), AUDIO_PLAYER_OPEN_FAILED);
    EXPECT_EQ(system.outputOpens(), 0);
  }
  {
    FakeWaveSystem system;
    system.openOutputResult = kWaveBadDevice;
    AudioPlayer player(system);
    EXPECT_EQ(player.Open(system, 1), AUDIO_PLAYER_OPEN_FAILED);
    EXPECT_FALSE(player.IsOpen());
    EXPECT_EQ(system.liveWindows(), 0);
    EXPECT_EQ(player.Write(Filled(3072, 0).data(), 3072), AUDIO_PLAYER_NOT_OPEN);
  }
}

TEST(AudioPlayer, WriteResults) {
  FakeWaveSystem system;
  AudioPlayer player(system);
  const Bytes payload = Ramp(1400, 1);
  EXPECT_EQ(player.Write(payload.data(), payload.size()), AUDIO_PLAYER_NOT_OPEN);
  ASSERT_EQ(player.Open(system, 2), AUDIO_OK);
  EXPECT_EQ(player.Write(payload.data(), payload.size()), AUDIO_OK);
  EXPECT_EQ(player.Pending(), 1);

  // More than one block of mu-law bytes: the codec produces nothing.
  const Bytes tooLong = Ramp(4097, 2);
  EXPECT_EQ(player.Write(tooLong.data(), tooLong.size()), AUDIO_DECODE_FAILED);

  // The device refuses: the block is lost, nothing is counted, the header is given back.
  system.output()->failWrite = true;
  EXPECT_EQ(player.Write(payload.data(), payload.size()), 0);
  EXPECT_EQ(player.Pending(), 1);
  system.output()->failWrite = false;
  EXPECT_EQ(player.Write(payload.data(), payload.size()), AUDIO_OK);
  EXPECT_EQ(player.Pending(), 2);
  EXPECT_EQ(system.output()->writeCount(), 2u);
}

TEST(AudioPlayer, MuLawBlocksKeepEarlierBytesBehindAShorterPayload) {
  FakeWaveSystem system;
  AudioPlayer player(system);
  ASSERT_EQ(player.Open(system, 2), AUDIO_OK);
  const Bytes first = Filled(1400, 0x11);
  const Bytes second = Filled(100, 0x22);
  ASSERT_EQ(player.Write(first.data(), first.size()), AUDIO_OK);
  ASSERT_EQ(player.Write(second.data(), second.size()), AUDIO_OK);

  const auto written = system.output()->written();
  ASSERT_EQ(written.size(), 2u);
  Bytes expectFirst(4096, 0);
  std::fill_n(expectFirst.begin(), 1400, 0x11);
  Bytes expectSecond = expectFirst;
  std::fill_n(expectSecond.begin(), 100, 0x22);
  EXPECT_EQ(written[0], expectFirst);
  EXPECT_EQ(written[1], expectSecond);
}

TEST(AudioPlayer, DecodesG726AndImaBlocksLikeTheirCodecs) {
  const Bytes g726 = Ramp(G726Codec::kBlockBytes, 7);
  Bytes ima = Ramp(ImaAdpcmCodec::kBlockBytes, 9);
  ima[60] = 0x34;  // start state: predictor 0x1234, index 20
  ima[61] = 0x12;
  ima[62] = 20;
  struct Case {
    int mode;
    const Bytes& payload;
    size_t block;
  };
  for (const Case& c : {Case{1, g726, 16384}, Case{9, ima, 8192}}) {
    FakeWaveSystem system;
    AudioPlayer player(system);
    ASSERT_EQ(player.Open(system, c.mode), AUDIO_OK);
    ASSERT_EQ(player.Write(c.payload.data(), c.payload.size()), AUDIO_OK);

    test::FixedClock clock(0);
    G726Codec g726Codec;
    ImaAdpcmCodec imaCodec(clock);
    AudioCodec& reference = c.mode == 1 ? static_cast<AudioCodec&>(g726Codec) : imaCodec;
    const GainTable gains = MakeGainTable();
    const int gainIndex = kDefaultGainIndex;
    reference.SetUp(&gains, &gainIndex, nullptr);
    Bytes expected(c.block);
    ASSERT_GT(reference.Decode(c.payload.data(), c.payload.size(), expected.data(), c.block), 0);
    const auto written = system.output()->written();
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0], expected) << "mode " << c.mode;
  }
}

TEST(AudioPlayer, BlockDoneUnpreparesAndCountsDown) {
  FakeWaveSystem system;
  AudioPlayer player(system);
  ASSERT_EQ(player.Open(system, 2), AUDIO_OK);
  const Bytes payload = Ramp(1400, 3);
  for (int i = 0; i < 3; ++i) ASSERT_EQ(player.Write(payload.data(), payload.size()), AUDIO_OK);
  EXPECT_EQ(player.Pending(), 3);
  EXPECT_EQ(system.output()->held(), 3u);

  ASSERT_TRUE(system.output()->ReturnOldest());
  EXPECT_EQ(player.Pending(), 3) << "counted down only on the dialog's thread";
  system.Pump();
  EXPECT_EQ(player.Pending(), 2);
  ASSERT_TRUE(system.output()->ReturnOldest());
  ASSERT_TRUE(system.output()->ReturnOldest());
  system.Pump();
  EXPECT_EQ(player.Pending(), 0);
  EXPECT_EQ(system.output()->held(), 0u);
}

// Modes 1 and 9 drop at three blocks pending; mode 2 has no such rule, and the fifth block
// finds every header still at the device.
struct DropCase {
  int mode;
  size_t payload;
  int queuedBeforeDrop;
};

class PlayerDrop : public ::testing::TestWithParam<DropCase> {};

TEST_P(PlayerDrop, NeverHandsTheDeviceAHeaderItHolds) {
  const DropCase& c = GetParam();
  FakeWaveSystem system;
  AudioPlayer player(system);
  ASSERT_EQ(player.Open(system, c.mode), AUDIO_OK);
  std::vector<Bytes> payloads;
  for (int i = 0; i < 6; ++i) payloads.push_back(Ramp(c.payload, 40 * i + 1));
  for (int i = 0; i < c.queuedBeforeDrop; ++i) {
    ASSERT_EQ(player.Write(payloads[i].data(), payloads[i].size()), AUDIO_OK) << i;
  }
  const auto before = system.output()->written();

  const test::DiagnosticCapture diagnostics;
  const int dropped = player.Write(payloads[4].data(), payloads[4].size());
  EXPECT_EQ(dropped, AUDIO_DECODE_FAILED);
  EXPECT_EQ(diagnostics.lines(), std::vector<std::string>{kDropLine});
  EXPECT_EQ(system.output()->writeCount(), static_cast<size_t>(c.queuedBeforeDrop));
  EXPECT_EQ(player.Pending(), c.queuedBeforeDrop);

  // The oldest block comes back; the next one goes into its header.
  ASSERT_TRUE(system.output()->ReturnOldest());
  system.Pump();
  ASSERT_EQ(player.Write(payloads[5].data(), payloads[5].size()), AUDIO_OK);
  const auto after = system.output()->written();
  ASSERT_EQ(after.size(), before.size() + 1);
  EXPECT_NE(after.back(), before.front());
}

INSTANTIATE_TEST_SUITE_P(Modes, PlayerDrop,
                         ::testing::Values(DropCase{1, 3072, 3}, DropCase{9, 2112, 3},
                                           DropCase{2, 1400, 4}));

TEST(AudioPlayer, HeldBlocksAreNotOverwrittenInModeTwo) {
  FakeWaveSystem system;
  AudioPlayer player(system);
  ASSERT_EQ(player.Open(system, 2), AUDIO_OK);
  std::vector<Bytes> expected;
  for (uint8_t i = 1; i <= 4; ++i) {
    const Bytes payload = Filled(1400, i);
    ASSERT_EQ(player.Write(payload.data(), payload.size()), AUDIO_OK);
    expected.push_back(Filled(4096, 0));
    std::fill_n(expected.back().begin(), 1400, i);
  }
  const Bytes fifth = Filled(1400, 5);
  EXPECT_EQ(player.Write(fifth.data(), fifth.size()), AUDIO_DECODE_FAILED);
  EXPECT_EQ(system.output()->heldData(), expected);
}

TEST(AudioPlayer, CloseResetsAndClosesTheDevice) {
  FakeWaveSystem system;
  CountingPause pause;
  AudioPlayer player(system, pause);
  ASSERT_EQ(player.Open(system, 9), AUDIO_OK);
  const Bytes payload = Ramp(2112, 5);
  ASSERT_EQ(player.Write(payload.data(), payload.size()), AUDIO_OK);
  ASSERT_EQ(player.Write(payload.data(), payload.size()), AUDIO_OK);
  test::FakeWaveOut* device = system.output();
  player.Close();
  EXPECT_TRUE(device->paused());
  EXPECT_EQ(device->resetCalls(), 1);
  EXPECT_TRUE(device->closed());
  EXPECT_FALSE(device->abandonedOpen());
  EXPECT_TRUE(pause.pauses.empty());
  EXPECT_FALSE(player.IsOpen());
  EXPECT_EQ(player.Pending(), 0);
  EXPECT_EQ(system.liveWindows(), 0);
  EXPECT_EQ(system.Pump(), 0) << "the returned blocks' notifications die with the window";
  EXPECT_EQ(player.Write(payload.data(), payload.size()), AUDIO_PLAYER_NOT_OPEN);
  // Open again after a close.
  ASSERT_EQ(player.Open(system, 2), AUDIO_OK);
  EXPECT_EQ(system.outputOpens(), 2);
}

TEST(AudioPlayer, CloseGoesOnWhenThePauseFails) {
  FakeWaveSystem system;
  AudioPlayer player(system);
  ASSERT_EQ(player.Open(system, 2), AUDIO_OK);
  const Bytes payload = Ramp(1400, 5);
  ASSERT_EQ(player.Write(payload.data(), payload.size()), AUDIO_OK);
  system.output()->failPause = true;
  player.Close();
  EXPECT_EQ(system.output()->resetCalls(), 1);
  EXPECT_TRUE(system.output()->closed());
  EXPECT_EQ(system.output()->held(), 0u) << "a freed block must not stay with the device";
}

TEST(AudioPlayer, CloseRetries) {
  FakeWaveSystem system;
  CountingPause pause;
  {
    AudioPlayer player(system, pause);
    ASSERT_EQ(player.Open(system, 2), AUDIO_OK);
    system.output()->failCloses = 3;
    player.Close();
    EXPECT_EQ(pause.pauses, std::vector<int>(3, 500));
    EXPECT_EQ(system.output()->closeCalls(), 4);
    EXPECT_TRUE(system.output()->closed());
  }
  pause.pauses.clear();
  {
    AudioPlayer player(system, pause);
    ASSERT_EQ(player.Open(system, 2), AUDIO_OK);
    test::FakeWaveOut* device = system.output();
    device->failCloses = 1000;
    player.Close();
    EXPECT_EQ(pause.pauses, std::vector<int>(100, 500));
    EXPECT_EQ(device->closeCalls(), 101);
    EXPECT_FALSE(device->closed());
    EXPECT_FALSE(player.IsOpen());
  }
  // The device that never closed was kept until the player went; then it was let go.
  EXPECT_TRUE(system.output()->abandonedOpen());
}

TEST(AudioPlayer, VolumeOfDeviceZero) {
  FakeWaveSystem system;
  AudioPlayer player(system);
  system.volume = 0x12345678;
  EXPECT_EQ(player.GetVolume(), 0x1234);
  EXPECT_EQ(player.SetVolume(0x4321), 1);
  EXPECT_EQ(system.volume, 0x43214321u);
  EXPECT_EQ(player.SetVolume(70000), 1);
  EXPECT_EQ(system.volume, 0xFFFFFFFFu);
  EXPECT_EQ(player.SetVolume(-3), 1);
  EXPECT_EQ(system.volume, 0u);
  system.volumeResult = kWaveError;
  EXPECT_EQ(player.GetVolume(), 0);
  EXPECT_EQ(player.SetVolume(100), 0);
}

}  // namespace
}  // namespace pel
