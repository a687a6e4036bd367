#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "audio/codec/GainTable.h"
#include "audio/codec/ImaAdpcm.h"
#include "audio/codec/ImaAdpcmCodec.h"
#include "audio/codec/ImaBlockHeader.h"
#include "support/CodecTestUtil.h"
#include "support/FixedClock.h"

namespace pel {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(ImaStep, UsesTheExactProductNotTheShiftApproximation) {
  ima::State state;
  EXPECT_EQ(ima::Step(7, state), 13);  // step 7, m 7: (15 * 7) / 8
  EXPECT_EQ(state.index, 8);
  ima::State negative;
  EXPECT_EQ(ima::Step(15, negative), -13);
  ima::State small;
  EXPECT_EQ(ima::Step(0, small), 0);  // (1 * 7) / 8 truncates to 0
  EXPECT_EQ(small.index, 0);          // and the index stays at its floor
}

TEST(ImaStep, ClampsIndexAndPredictor) {
  ima::State top{32760, 88};
  EXPECT_EQ(ima::Step(7, top), 32767);
  EXPECT_EQ(top.index, 88);
  ima::State bottom{-32760, 88};
  EXPECT_EQ(ima::Step(15, bottom), -32768);
}

struct HeaderCase {
  uint32_t milliseconds;
  Bytes stamps;  // bytes 9-18
};

class ImaHeaderStamps : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(ImaHeaderStamps, CarryTheClockOnA90kHzBase) {
  Bytes block(64, 0xAA);
  WriteImaBlockHeader(block.data(), GetParam().milliseconds, ima::State{-2, 7});
  EXPECT_EQ(Bytes(block.begin() + 9, block.begin() + 19), GetParam().stamps);

  const Bytes start = {0x00, 0x00, 0x01, 0xC0, 0x08, 0x3A, 0x87, 0xC0, 0x17};
  EXPECT_EQ(Bytes(block.begin(), block.begin() + 9), start);
  const Bytes tail = {0x0F, 0x8B, 0x80, 0x18, 0x00, 0x80, 0x18, 0x40, 0x00, 0x11, 0x01, 0x00, 0xFF};
  EXPECT_EQ(Bytes(block.begin() + 19, block.begin() + 32), tail);
  EXPECT_EQ(Bytes(block.begin() + 32, block.begin() + 56), Bytes(24, 0xFF));
  const Bytes state = {0xFE, 0xFF, 0x07, 0x00, 0xFE, 0xFF, 0x07, 0x00};
  EXPECT_EQ(Bytes(block.begin() + 56, block.end()), state);
}

// 1000 ms: P = 90000. 0xFFFFFFFF ms: T wraps to 0xFFFFFFD3 and P = 0x1FFFFFFA6 uses all 33
// bits. 95443718 ms: T wraps to 14.
INSTANTIATE_TEST_SUITE_P(
    Clock, ImaHeaderStamps,
    ::testing::Values(
        HeaderCase{1000, {0x31, 0x00, 0x05, 0xBF, 0x21, 0x11, 0x00, 0x05, 0xBF, 0x21}},
        HeaderCase{0xFFFFFFFFu, {0x3F, 0xFF, 0xFF, 0xFF, 0x4D, 0x1F, 0xFF, 0xFF, 0xFF, 0x4D}},
        HeaderCase{95443718u, {0x31, 0x00, 0x01, 0x00, 0x39, 0x11, 0x00, 0x01, 0x00, 0x39}},
        HeaderCase{0, {0x31, 0x00, 0x01, 0x00, 0x01, 0x11, 0x00, 0x01, 0x00, 0x01}}));

class ImaCodecTest : public ::testing::Test {
 protected:
  void SetUp() override { codec_.SetUp(&gains_, &gainIndex_, nullptr); }

  GainTable gains_ = MakeGainTable();
  int gainIndex_ = kDefaultGainIndex;
  test::FixedClock clock_{1000};
  ImaAdpcmCodec codec_{clock_};
};

TEST_F(ImaCodecTest, BlockCarriesTheZeroStartStateAndOneTimeTwice) {
  const Bytes pcm = test::PcmBytes(test::Tone(4096, 440, 9000));
  Bytes block(2112, 0xAA);
  ASSERT_EQ(codec_.Encode(pcm.data(), pcm.size(), block.data(), block.size()), 1);
  EXPECT_EQ(Bytes(block.begin() + 56, block.begin() + 64), Bytes(8, 0x00));
  EXPECT_EQ(Bytes(block.begin() + 9, block.begin() + 14), Bytes({0x31, 0x00, 0x05, 0xBF, 0x21}));
  EXPECT_EQ(Bytes(block.begin() + 15, block.begin() + 19),
            Bytes(block.begin() + 10, block.begin() + 14));
}

TEST_F(ImaCodecTest, RefusesShortBuffers) {
  const Bytes pcm(8192, 0);
  Bytes block(2112, 0xAA);
  EXPECT_EQ(codec_.Encode(pcm.data(), 8191, block.data(), block.size()), 0);
  EXPECT_EQ(codec_.Encode(pcm.data(), pcm.size(), block.data(), 2111), 0);
  EXPECT_EQ(block[0], 0xAA);
  Bytes out(8192, 0xEE);
  EXPECT_EQ(codec_.Decode(block.data(), 2111, out.data(), out.size()), 0);
  EXPECT_EQ(codec_.Decode(block.data(), block.size(), out.data(), 8191), 0);
  EXPECT_EQ(out[0], 0xEE);
  EXPECT_EQ(codec_.Decode(nullptr, 2112, out.data(), out.size()), 0);
}

// With the fixed gain (just below 1), 100 enters the coder as 99, -100 as -99, 0 as 0, and
// a decoded 100 is played as 99.
TEST_F(ImaCodecTest, GainTruncatesTowardZero) {
  EXPECT_EQ(ApplyGain(100, SelectGain(&gains_, &gainIndex_)), 99);
  EXPECT_EQ(ApplyGain(-100, SelectGain(&gains_, &gainIndex_)), -99);
  EXPECT_EQ(ApplyGain(0, SelectGain(&gains_, &gainIndex_)), 0);

  for (int value : {100, -100}) {
    const Bytes gained = test::PcmBytes(std::vector<int>(4096, value));
    const Bytes reduced = test::PcmBytes(std::vector<int>(4096, value > 0 ? 99 : -99));
    ImaAdpcmCodec unity(clock_);  // no table: gain 1
    Bytes a(2112);
    Bytes b(2112);
    ASSERT_EQ(codec_.Encode(gained.data(), gained.size(), a.data(), a.size()), 1);
    ASSERT_EQ(unity.Encode(reduced.data(), reduced.size(), b.data(), b.size()), 1);
    EXPECT_EQ(a, b) << value;
  }

  Bytes block(2112, 0);  // codes 0 keep the predictor where the header puts it
  block[60] = 100;
  Bytes out(8192);
  ASSERT_EQ(codec_.Decode(block.data(), block.size(), out.data(), out.size()), 1);
  const std::vector<int> samples = test::PcmSamples(out.data(), 4096);
  EXPECT_TRUE(std::all_of(samples.begin(), samples.end(), [](int s) { return s == 99; }));
}

TEST_F(ImaCodecTest, IndexOver88IsClamped) {
  const Bytes pcm = test::PcmBytes(test::Tone(4096, 700, 12000));
  Bytes block(2112);
  ASSERT_EQ(codec_.Encode(pcm.data(), pcm.size(), block.data(), block.size()), 1);
  block[62] = 88;
  Bytes expected(8192);
  ASSERT_EQ(codec_.Decode(block.data(), block.size(), expected.data(), expected.size()), 1);
  block[62] = 0xFF;
  Bytes clamped(8192);
  ASSERT_EQ(codec_.Decode(block.data(), block.size(), clamped.data(), clamped.size()), 1);
  EXPECT_EQ(clamped, expected);
}

TEST_F(ImaCodecTest, CodesAreNibblesEarlierSampleLow) {
  Bytes block(2112, 0);
  block[64] = 0x70;  // first code 0, second code 7
  Bytes out(8192);
  ImaAdpcmCodec unity(clock_);
  ASSERT_EQ(unity.Decode(block.data(), block.size(), out.data(), out.size()), 1);
  const std::vector<int> samples = test::PcmSamples(out.data(), 3);
  EXPECT_EQ(samples[0], 0);
  EXPECT_EQ(samples[1], 13);
}

TEST_F(ImaCodecTest, RoundTripKeepsAToneRecognisable) {
  const std::vector<int> tone = test::Tone(4096, 1000, 8000);
  const Bytes pcm = test::PcmBytes(tone);
  Bytes block(2112);
  ASSERT_EQ(codec_.Encode(pcm.data(), pcm.size(), block.data(), block.size()), 1);
  Bytes out(8192);
  ASSERT_EQ(codec_.Decode(block.data(), block.size(), out.data(), out.size()), 1);
  EXPECT_GT(test::SnrDb(tone, test::PcmSamples(out.data(), 4096), 64), 17.0);
}

}  // namespace
}  // namespace pel
