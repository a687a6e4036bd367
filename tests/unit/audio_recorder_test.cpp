// AudioRecorder's capture side against fake wave devices: opening per mode, the four blocks,
// block done, closing, the microphone level and the connection calls that need no server.
#include <gtest/gtest.h>

#include <vector>

#include "audio/AudioRecorder.h"
#include "audio/AudioResult.h"
#include "support/FakeWaveDevices.h"
#include "support/FixedClock.h"

namespace pel {
namespace {

using test::CountingPause;
using test::FakeWaveSystem;

struct CaptureCase {
  int mode;
  uint16_t tag;
  uint16_t channels;
  uint16_t bits;
  uint16_t align;
  uint32_t captureBytes;
};

class RecorderFormat : public ::testing::TestWithParam<CaptureCase> {};

TEST_P(RecorderFormat, OpensCaptureWithFourBlocksOfTheModesSize) {
  const CaptureCase& c = GetParam();
  FakeWaveSystem system;
  CountingPause pause;
  AudioRecorder recorder(system, pause);
  ASSERT_EQ(recorder.Open(system, c.mode), AUDIO_OK);
  EXPECT_TRUE(recorder.IsOpen());
  test::FakeWaveIn* device = system.input();
  ASSERT_NE(device, nullptr);
  const WaveFormat& format = device->format();
  EXPECT_EQ(format.formatTag, c.tag);
  EXPECT_EQ(format.channels, c.channels);
  EXPECT_EQ(format.samplesPerSecond, 8000u);
  EXPECT_EQ(format.bitsPerSample, c.bits);
  EXPECT_EQ(format.blockAlign, c.align);
  EXPECT_EQ(format.averageBytesPerSecond, c.align * 8000u);
  EXPECT_TRUE(device->started());
  EXPECT_EQ(device->heldLengths(), std::vector<uint32_t>(4, c.captureBytes));

  // Each captured block comes back filled to its full size and goes straight back in.
  ASSERT_TRUE(device->Capture(std::vector<uint8_t>(c.captureBytes + 10, 0x5A)));
  EXPECT_EQ(device->held(), 3u);
  system.Pump();
  EXPECT_EQ(device->heldLengths(), std::vector<uint32_t>(4, c.captureBytes));
  for (int i = 0; i < 9; ++i) {
    ASSERT_TRUE(device->Capture({1, 2, 3}));
    EXPECT_EQ(system.Pump(), 1);
  }
  EXPECT_EQ(device->held(), 4u);

  recorder.Close();
  EXPECT_FALSE(recorder.IsOpen());
  EXPECT_TRUE(device->closed());
  EXPECT_EQ(device->held(), 0u);
  EXPECT_EQ(system.liveWindows(), 0);
  EXPECT_TRUE(pause.pauses.empty());
}

INSTANTIATE_TEST_SUITE_P(Modes, RecorderFormat,
                         ::testing::Values(CaptureCase{1, kWaveFormatPcm, 2, 16, 4, 16384},
                                           CaptureCase{2, kWaveFormatMuLaw, 1, 8, 1, 1400},
                                           CaptureCase{9, kWaveFormatPcm, 1, 16, 2, 8192}));

TEST(AudioRecorder, OpenFailuresLeaveNothingBehind) {
  {
    FakeWaveSystem system;
    system.inputDevices = 0;
    AudioRecorder recorder(system);
    EXPECT_EQ(recorder.Open(system, 2), AUDIO_NO_DEVICE);
    EXPECT_EQ(system.inputOpens(), 0);
  }
  for (int mode : {0, 3, 8, 10, 0x92}) {
    FakeWaveSystem system;
    AudioRecorder recorder(system);
    EXPECT_EQ(recorder.Open(system, mode), AUDIO_OPEN_FAILED) << mode;
    EXPECT_EQ(system.inputOpens(), 0);
    EXPECT_EQ(system.liveWindows(), 0);
  }
  {
    FakeWaveSystem system;
    system.failWindow = true;
    AudioRecorder recorder(system);
    EXPECT_EQ(recorder.Open(system, 1), AUDIO_OPEN_FAILED);
    EXPECT_EQ(system.inputOpens(), 0);
  }
  {
    FakeWaveSystem system;
    system.openInputResult = kWaveBadDevice;
    AudioRecorder recorder(system);
    EXPECT_EQ(recorder.Open(system, 9), AUDIO_OPEN_FAILED);
    EXPECT_FALSE(recorder.IsOpen());
    EXPECT_EQ(system.liveWindows(), 0);
  }
  // Failures after the device opened: it is stopped, reset and closed before the blocks go.
  const std::vector<std::function<void(test::FakeWaveIn&)>> breakers = {
      [](test::FakeWaveIn& in) { in.failPrepareAt = 2; },
      [](test::FakeWaveIn& in) { in.failAdd = true; },
      [](test::FakeWaveIn& in) { in.failStart = true; },
  };
  for (size_t i = 0; i < breakers.size(); ++i) {
    FakeWaveSystem system;
    system.onInputOpened = breakers[i];
    AudioRecorder recorder(system);
    EXPECT_EQ(recorder.Open(system, 2), AUDIO_OPEN_FAILED) << i;
    EXPECT_FALSE(recorder.IsOpen());
    ASSERT_NE(system.input(), nullptr);
    EXPECT_TRUE(system.input()->closed()) << i;
    EXPECT_FALSE(system.input()->abandonedOpen()) << i;
    EXPECT_EQ(system.input()->held(), 0u) << i;
    EXPECT_EQ(system.liveWindows(), 0) << i;
    // And it opens again cleanly.
    system.onInputOpened = nullptr;
    EXPECT_EQ(recorder.Open(system, 2), AUDIO_OK) << i;
  }
}

TEST(AudioRecorder, OpenTwiceKeepsTheFirst) {
  FakeWaveSystem system;
  AudioRecorder recorder(system);
  ASSERT_EQ(recorder.Open(system, 9), AUDIO_OK);
  EXPECT_EQ(recorder.Open(system, 1), AUDIO_ALREADY_OPEN);
  EXPECT_TRUE(recorder.IsOpen());
  EXPECT_EQ(system.inputOpens(), 1);
  EXPECT_EQ(system.input()->format().channels, 1);
  EXPECT_EQ(system.input()->held(), 4u);
  EXPECT_TRUE(system.input()->started());
}

TEST(AudioRecorder, CloseRetriesAndStopsRequeueing) {
  FakeWaveSystem system;
  CountingPause pause;
  AudioRecorder recorder(system, pause);
  ASSERT_EQ(recorder.Open(system, 2), AUDIO_OK);
  test::FakeWaveIn* device = system.input();
  ASSERT_TRUE(device->Capture({9}));  // one block waits for the dialog's thread
  device->failCloses = 2;
  recorder.Close();
  EXPECT_EQ(pause.pauses, std::vector<int>(2, 500));
  EXPECT_EQ(device->closeCalls(), 3);
  EXPECT_TRUE(device->closed());
  EXPECT_EQ(system.Pump(), 0);
  EXPECT_EQ(device->held(), 0u);

  // Closing a closed recorder, and one that never opened, only cleans up.
  recorder.Close();
  AudioRecorder never(system, pause);
  never.Close();
  EXPECT_EQ(pause.pauses.size(), 2u);
}

TEST(AudioRecorder, DeviceThatNeverClosesIsKeptWithItsBlocks) {
  FakeWaveSystem system;
  CountingPause pause;
  test::FakeWaveIn* device = nullptr;
  {
    AudioRecorder recorder(system, pause);
    ASSERT_EQ(recorder.Open(system, 9), AUDIO_OK);
    device = system.input();
    device->failCloses = 500;
    recorder.Close();
    EXPECT_EQ(pause.pauses.size(), 100u);
    EXPECT_EQ(device->closeCalls(), 101);
    EXPECT_FALSE(device->closed());
    EXPECT_FALSE(device->abandonedOpen());
    // A new capture can start meanwhile.
    ASSERT_EQ(recorder.Open(system, 9), AUDIO_OK);
  }
  EXPECT_TRUE(device->abandonedOpen());
}

TEST(AudioRecorder, ConnectionCallsWithoutAServer) {
  FakeWaveSystem system;
  AudioRecorder recorder(system);
  EXPECT_EQ(recorder.Connect("127.0.0.1", 32001, 0, 0, "u", "p"), AUDIO_NOT_OPEN);
  EXPECT_EQ(recorder.Disconnect(), AUDIO_NOT_OPEN);
  EXPECT_EQ(recorder.SetPlayback(true), 1);
  ASSERT_EQ(recorder.Open(system, 2), AUDIO_OK);
  EXPECT_EQ(recorder.SetPlayback(false), 0) << "no change while open";
  EXPECT_EQ(recorder.Disconnect(), AUDIO_NOT_CONNECTED);
  recorder.Close();
  EXPECT_EQ(recorder.SetPlayback(false), 1);
}

// Mixer 0: a line input and the microphone feed the wave-input destination.
void SetUpMixer(test::FakeMixerSetup& mixer, uint32_t value) {
  mixer.destination = MixerLine{0, 0, 100, kMixerDestinationWaveIn, 2, 0};
  mixer.sources = {MixerLine{0, 0, 201, 0x1008, 2, 0}, MixerLine{0, 1, 202, 0x1003, 1, 0}};
  mixer.volumeControlOfLine = {{201, 61}, {202, 62}};
  mixer.values = {{61, {7, 7}}, {62, {value}}};
}

TEST(AudioRecorder, MicrophoneLevelIsClampedAndKept) {
  FakeWaveSystem system;
  SetUpMixer(system.mixer, 5000);
  AudioRecorder recorder(system);
  EXPECT_EQ(recorder.GetMicLevel(), 5000);
  EXPECT_EQ(recorder.SetMicLevel(70000), 1);
  EXPECT_EQ(system.mixer.values[62], std::vector<uint32_t>{65535});
  EXPECT_EQ(recorder.GetMicLevel(), 65535);
  EXPECT_EQ(recorder.SetMicLevel(1234), 1);
  EXPECT_EQ(recorder.GetMicLevel(), 1234);
  EXPECT_EQ(system.mixer.values[61], (std::vector<uint32_t>{7, 7})) << "the line input untouched";

  system.mixer.values[62] = {100000};  // a mixer that reports more than the range
  EXPECT_EQ(recorder.GetMicLevel(), 65535);
}

TEST(AudioRecorder, MicrophoneLevelWithoutAMixer) {
  FakeWaveSystem system;
  system.mixerCount = 0;
  AudioRecorder recorder(system);
  EXPECT_EQ(recorder.GetMicLevel(), 0);
  EXPECT_EQ(recorder.SetMicLevel(100), 0);
}

}  // namespace
}  // namespace pel
