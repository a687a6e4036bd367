#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <string>
#include <vector>

#include "audio/codec/AudioCodecFactory.h"
#include "audio/codec/G726Codec.h"
#include "audio/codec/GainTable.h"
#include "audio/codec/ImaAdpcmCodec.h"
#include "audio/codec/MuLawCopyCodec.h"
#include "support/DiagnosticCapture.h"
#include "support/FixedClock.h"

namespace pel {
namespace {

using Bytes = std::vector<uint8_t>;

const char kDropLine[] = "\n\n\t\tDrop audio packet!!!!!!!!!!!\n\n\n";
using Lines = std::vector<std::string>;

TEST(MakeAudioCodec, OneCodecPerMode) {
  test::FixedClock clock(0);
  EXPECT_NE(dynamic_cast<G726Codec*>(MakeAudioCodec(1, clock).get()), nullptr);
  EXPECT_NE(dynamic_cast<MuLawCopyCodec*>(MakeAudioCodec(2, clock).get()), nullptr);
  EXPECT_NE(dynamic_cast<ImaAdpcmCodec*>(MakeAudioCodec(9, clock).get()), nullptr);
  for (int mode : {0, 3, 8, 10, 0x91, -1}) EXPECT_EQ(MakeAudioCodec(mode, clock), nullptr) << mode;
  EXPECT_NE(MakeAudioCodec(9), nullptr);  // with the default clock
}

TEST(AudioCodecBase, CodesNothingAndIsAlwaysBusy) {
  AudioCodec base;
  uint8_t in[4] = {1, 2, 3, 4};
  uint8_t out[4] = {};
  std::atomic<int> pending{0};
  base.SetUp(nullptr, nullptr, &pending);
  EXPECT_EQ(base.Encode(in, 4, out, 4), 0);
  EXPECT_EQ(base.Decode(in, 4, out, 4), 0);
  EXPECT_TRUE(base.IsBusy());
}

// The payload each mode's decoder gets, with room for its output.
struct DropCase {
  int mode;
  size_t payload;
  size_t output;
  bool drops;
};

class DropRule : public ::testing::TestWithParam<DropCase> {};

TEST_P(DropRule, ThreePendingBlocksDropModesOneAndNine) {
  const DropCase& c = GetParam();
  test::FixedClock clock(0);
  const std::unique_ptr<AudioCodec> codec = MakeAudioCodec(c.mode, clock);
  ASSERT_NE(codec, nullptr);
  const GainTable gains = MakeGainTable();
  const int gainIndex = kDefaultGainIndex;
  std::atomic<int> pending{0};
  codec->SetUp(&gains, &gainIndex, &pending);
  const Bytes payload(c.payload, 0x33);
  Bytes out(c.output);

  for (int queued : {0, 1, 2}) {
    pending = queued;
    EXPECT_EQ(codec->IsBusy(), queued >= 2);
    const test::DiagnosticCapture quiet;
    EXPECT_GT(codec->Decode(payload.data(), payload.size(), out.data(), out.size()), 0);
    EXPECT_EQ(quiet.lines(), Lines{});
  }

  pending = 3;
  const test::DiagnosticCapture diagnostics;
  const int result = codec->Decode(payload.data(), payload.size(), out.data(), out.size());
  if (c.drops) {
    EXPECT_EQ(result, 0);
    EXPECT_EQ(diagnostics.lines(), Lines{kDropLine});
  } else {
    EXPECT_EQ(result, 1);
    EXPECT_EQ(diagnostics.lines(), Lines{});
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, DropRule,
                         ::testing::Values(DropCase{1, 3072, 16384, true},
                                           DropCase{2, 1400, 4096, false},
                                           DropCase{9, 2112, 8192, true}));

TEST(DropRule, CaptureSideCodecsHaveNoCounter) {
  G726Codec codec;
  codec.SetUp(nullptr, nullptr, nullptr);
  EXPECT_FALSE(codec.IsBusy());
  const Bytes payload(3072, 0);
  Bytes out(16384);
  EXPECT_EQ(codec.Decode(payload.data(), payload.size(), out.data(), out.size()), 8192);
}

TEST(GainTable, BuiltByRepeatedAddition) {
  const GainTable table = MakeGainTable();
  ASSERT_EQ(table.size(), 21u);
  EXPECT_EQ(table[0], 0.0);
  double expected = 0.0;
  for (size_t i = 1; i < table.size(); ++i) {
    expected += 0.1;
    EXPECT_EQ(table[i], expected) << i;
  }
  EXPECT_EQ(table[kDefaultGainIndex], std::nextafter(1.0, 0.0));
  EXPECT_LT(table[kDefaultGainIndex], 1.0);
}

TEST(GainTable, SelectionAndApplication) {
  const GainTable table = MakeGainTable();
  const int low = -4;
  const int high = 40;
  const int two = 20;
  EXPECT_EQ(SelectGain(nullptr, &two), 1.0);
  EXPECT_EQ(SelectGain(&table, nullptr), 1.0);
  EXPECT_EQ(SelectGain(&table, &low), 0.0);
  EXPECT_EQ(SelectGain(&table, &high), table[20]);
  EXPECT_EQ(ApplyGain(32767, 1.0), 32767);
  EXPECT_EQ(ApplyGain(-32768, table[kDefaultGainIndex]), -32767);
  // Gains above one saturate rather than wrap.
  EXPECT_EQ(ApplyGain(30000, table[20]), 32767);
  EXPECT_EQ(ApplyGain(-30000, table[20]), -32768);
}

}  // namespace
}  // namespace pel
