// MicLevelMixer: finding the microphone's volume control in mixer 0, and reading and writing it.
#include <gtest/gtest.h>

#include <vector>

#include "audio/MicLevelMixer.h"
#include "support/FakeWaveDevices.h"

namespace pel {
namespace {

using test::FakeWaveSystem;

constexpr uint32_t kLineIn = 0x1008;
constexpr uint32_t kCd = 0x1005;

// The wave-input destination (line 100, control 60) with the given sources; source i is line
// 201 + i with control 61 + i and a value of 1000 * (i + 1) per channel.
void SetUpMixer(test::FakeMixerSetup& mixer, const std::vector<uint32_t>& types,
                uint32_t channels) {
  mixer.destination = MixerLine{3, 0, 100, kMixerDestinationWaveIn, channels, 0};
  mixer.sources.clear();
  mixer.volumeControlOfLine = {{100, 60}};
  mixer.values = {{60, std::vector<uint32_t>(channels, 42)}};
  for (uint32_t i = 0; i < types.size(); ++i) {
    mixer.sources.push_back(MixerLine{3, i, 201 + i, types[i], channels, 0});
    mixer.volumeControlOfLine[201 + i] = 61 + i;
    mixer.values[61 + i] = std::vector<uint32_t>(channels, 1000 * (i + 1));
  }
}

TEST(MicLevelMixer, TakesTheFirstMicrophoneSource) {
  FakeWaveSystem system;
  SetUpMixer(system.mixer, {kLineIn, kMixerSourceMicrophone, kMixerSourceMicrophone}, 1);
  MicLevelMixer mixer(system);
  ASSERT_TRUE(mixer.IsValid());
  EXPECT_EQ(mixer.GetValue(), 2000u);
  EXPECT_EQ(mixer.SetValue(321), 1);
  EXPECT_EQ(system.mixer.values[62], std::vector<uint32_t>{321});
  EXPECT_EQ(system.mixer.values[63], std::vector<uint32_t>{3000});
  EXPECT_EQ(mixer.GetValue(), 321u);
}

TEST(MicLevelMixer, WithoutAMicrophoneTheLastSourceLookedAtIsUsed) {
  FakeWaveSystem system;
  SetUpMixer(system.mixer, {kLineIn, kCd}, 1);
  MicLevelMixer mixer(system);
  ASSERT_TRUE(mixer.IsValid());
  EXPECT_EQ(mixer.GetValue(), 2000u);
}

TEST(MicLevelMixer, SourceNoneUsesTheDestinationLine) {
  FakeWaveSystem system;
  SetUpMixer(system.mixer, {kMixerSourceMicrophone}, 1);
  MicLevelMixer mixer(system, kMixerDestinationWaveIn, kMixerSourceNone);
  ASSERT_TRUE(mixer.IsValid());
  EXPECT_EQ(mixer.GetValue(), 42u);
}

TEST(MicLevelMixer, EveryChannelTakesTheValue) {
  FakeWaveSystem system;
  SetUpMixer(system.mixer, {kMixerSourceMicrophone}, 2);
  system.mixer.values[61] = {10, 20};
  MicLevelMixer mixer(system);
  EXPECT_EQ(mixer.GetValue(), 10u);
  EXPECT_EQ(mixer.SetValue(65535), 1);
  EXPECT_EQ(system.mixer.values[61], (std::vector<uint32_t>{65535, 65535}));
}

TEST(MicLevelMixer, AnyFailedStepLeavesItInvalid) {
  const std::vector<std::function<void(FakeWaveSystem&)>> breakers = {
      [](FakeWaveSystem& s) { s.mixerCount = 0; },
      [](FakeWaveSystem& s) { s.mixer.openResult = 1; },
      [](FakeWaveSystem& s) { s.mixer.lineResult = 1024; },
      [](FakeWaveSystem& s) { s.mixer.destination.componentType = 4; },  // no wave-in line
      [](FakeWaveSystem& s) { s.mixer.sourceFailAt = 0; },
      [](FakeWaveSystem& s) { s.mixer.volumeControlOfLine.erase(202); },
      [](FakeWaveSystem& s) {
        s.mixer.destination.channels = 0;
        s.mixer.sources[1].channels = 0;
      },
      [](FakeWaveSystem& s) { s.mixer.sources[1].channels = MicLevelMixer::kMaxChannels + 1; },
  };
  for (size_t i = 0; i < breakers.size(); ++i) {
    FakeWaveSystem system;
    SetUpMixer(system.mixer, {kLineIn, kMixerSourceMicrophone}, 1);
    breakers[i](system);
    MicLevelMixer mixer(system);
    EXPECT_FALSE(mixer.IsValid()) << i;
    EXPECT_EQ(mixer.GetValue(), 0u) << i;
    EXPECT_EQ(mixer.SetValue(5), 0) << i;
    EXPECT_EQ(system.mixer.values[62], std::vector<uint32_t>{2000}) << i;
  }
}

TEST(MicLevelMixer, AReadFailureStaysInvalid) {
  FakeWaveSystem system;
  SetUpMixer(system.mixer, {kMixerSourceMicrophone}, 1);
  MicLevelMixer mixer(system);
  system.mixer.getResult = 11;
  EXPECT_EQ(mixer.GetValue(), 0u);
  EXPECT_FALSE(mixer.IsValid());
  system.mixer.getResult = 0;
  EXPECT_EQ(mixer.GetValue(), 0u);
  EXPECT_EQ(mixer.SetValue(9), 0);
  EXPECT_EQ(system.mixer.values[61], std::vector<uint32_t>{1000});
}

TEST(MicLevelMixer, AWriteFailureStaysInvalid) {
  FakeWaveSystem system;
  SetUpMixer(system.mixer, {kMixerSourceMicrophone}, 1);
  MicLevelMixer mixer(system);
  system.mixer.setResult = 11;
  EXPECT_EQ(mixer.SetValue(9), 0);
  system.mixer.setResult = 0;
  EXPECT_FALSE(mixer.IsValid());
  EXPECT_EQ(mixer.SetValue(9), 0);
  EXPECT_EQ(mixer.GetValue(), 0u);
  EXPECT_EQ(system.mixer.values[61], std::vector<uint32_t>{1000});
}

}  // namespace
}  // namespace pel
