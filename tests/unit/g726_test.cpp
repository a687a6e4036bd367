#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "audio/codec/G726Codec.h"
#include "audio/codec/G726State.h"
#include "support/CodecTestUtil.h"
#include "support/G711Reference.h"
#include "support/TestEnv.h"

namespace pel {
namespace {

using test::G711Law;

std::vector<int> Sequence(const std::string& name) {
  const std::vector<int> words = test::ReadSequence(test::SharedPath("testvectors/g726/" + name));
  EXPECT_FALSE(words.empty()) << "test sequence " << name << " is missing";
  return words;
}

// Index of the first difference, or -1.
long FirstDifference(const std::vector<int>& expected, const std::vector<int>& actual) {
  if (expected.size() != actual.size())
    return static_cast<long>(std::min(expected.size(), actual.size()));
  const auto where = std::mismatch(expected.begin(), expected.end(), actual.begin());
  return where.first == expected.end() ? -1 : static_cast<long>(where.first - expected.begin());
}

struct EncoderCase {
  const char* input;
  G711Law law;
  const char* codes;
};

class G726EncoderSequence : public ::testing::TestWithParam<EncoderCase> {};

// The codec encodes the expanded log PCM, scaled to 16 bits, in capture-sized blocks; every
// code must equal the ITU-T sequence's.
TEST_P(G726EncoderSequence, CodesMatchTheReferenceExactly) {
  const EncoderCase& c = GetParam();
  const std::vector<int> input = Sequence(c.input);
  const std::vector<int> expected = Sequence(c.codes);
  ASSERT_EQ(input.size(), expected.size());

  std::vector<int> pcm;
  for (int code : input) pcm.push_back(4 * test::G711Expand(c.law, code));
  const std::vector<uint8_t> bytes = test::PcmBytes(pcm);

  G726Codec codec;
  std::vector<uint8_t> packed;
  for (size_t first = 0; first < pcm.size(); first += G726Codec::kBlockSamples) {
    const size_t count = std::min(G726Codec::kBlockSamples, pcm.size() - first);
    std::vector<uint8_t> payload(G726Codec::kBlockBytes);
    const int written =
        codec.Encode(bytes.data() + 2 * first, count, payload.data(), payload.size());
    ASSERT_EQ(written, static_cast<int>(count * 3 / 8));
    packed.insert(packed.end(), payload.begin(), payload.begin() + written);
  }
  EXPECT_EQ(FirstDifference(expected, test::UnpackCodes3(packed, expected.size())), -1);
}

INSTANTIATE_TEST_SUITE_P(ItuReset24, G726EncoderSequence,
                         ::testing::Values(EncoderCase{"nrm.a", G711Law::A, "rn24fa.i"},
                                           EncoderCase{"ovr.a", G711Law::A, "rv24fa.i"},
                                           EncoderCase{"nrm.m", G711Law::Mu, "rn24fm.i"},
                                           EncoderCase{"ovr.m", G711Law::Mu, "rv24fm.i"}));

struct DecoderCase {
  const char* codes;
  G711Law law;
  const char* output;
};

class G726DecoderSequence : public ::testing::TestWithParam<DecoderCase> {};

// The decoder's reconstructed signal, converted to log PCM with the synchronous coding
// adjustment, must equal the ITU-T output sequence; the codec's own linear output must be
// that signal scaled to 16 bits.
TEST_P(G726DecoderSequence, OutputMatchesTheReferenceExactly) {
  const DecoderCase& c = GetParam();
  const std::vector<int> codes = Sequence(c.codes);
  const std::vector<int> expected = Sequence(c.output);
  ASSERT_EQ(codes.size(), expected.size());

  g726::State reference;
  std::vector<int> logPcm;
  std::vector<int> linear;
  for (int code : codes) {
    const test::G711Decoded decoded = test::DecodeToG711(reference, g726::kRate24, c.law, code);
    logPcm.push_back(decoded.pcm);
    linear.push_back(std::clamp(4 * decoded.sr, -32768, 32767));
  }
  EXPECT_EQ(FirstDifference(expected, logPcm), -1);

  G726Codec codec;
  const std::vector<uint8_t> packed = test::PackCodes3(codes);
  std::vector<uint8_t> out(2 * codes.size());
  ASSERT_EQ(codec.Decode(packed.data(), packed.size(), out.data(), out.size()),
            static_cast<int>(codes.size()));
  EXPECT_EQ(FirstDifference(linear, test::PcmSamples(out.data(), codes.size())), -1);
}

INSTANTIATE_TEST_SUITE_P(ItuReset24, G726DecoderSequence,
                         ::testing::Values(DecoderCase{"rn24fa.i", G711Law::A, "rn24fa.o"},
                                           DecoderCase{"rn24fa.i", G711Law::Mu, "rn24fx.o"},
                                           DecoderCase{"rv24fa.i", G711Law::A, "rv24fa.o"},
                                           DecoderCase{"rv24fa.i", G711Law::Mu, "rv24fx.o"},
                                           DecoderCase{"rn24fm.i", G711Law::Mu, "rn24fm.o"},
                                           DecoderCase{"rn24fm.i", G711Law::A, "rn24fc.o"},
                                           DecoderCase{"rv24fm.i", G711Law::Mu, "rv24fm.o"},
                                           DecoderCase{"rv24fm.i", G711Law::A, "rv24fc.o"},
                                           DecoderCase{"i24", G711Law::A, "ri24fa.o"},
                                           DecoderCase{"i24", G711Law::Mu, "ri24fm.o"}));

TEST(G726Codec, DecodesWholeAndPartGroups) {
  G726Codec codec;
  std::vector<uint8_t> payload(3073, 0x5A);
  std::vector<uint8_t> out(2 * 8194 + 2, 0xEE);
  EXPECT_EQ(codec.Decode(payload.data(), 3072, out.data(), 2 * 8192), 8192);
  EXPECT_EQ(out[2 * 8192], 0xEE);  // nothing past the samples
  EXPECT_EQ(codec.Decode(payload.data(), 3073, out.data(), 2 * 8194), 8194);
  EXPECT_EQ(out[2 * 8194], 0xEE);
  EXPECT_EQ(codec.Decode(payload.data(), 3074, out.data(), out.size()), 0);  // no room for 8197
  EXPECT_EQ(codec.Decode(payload.data(), 1, out.data(), out.size()), 2);
  EXPECT_EQ(codec.Decode(payload.data(), 2, out.data(), out.size()), 5);
}

// The codes of a part group are the leading bits of the trailing bytes.
TEST(G726Codec, PartGroupCodesDecodeLikeTheSameCodesInAWholeGroup) {
  const std::vector<int> codes = {3, 5, 1, 6, 2, 7, 4, 0, 3, 4, 2, 6, 1};
  const std::vector<uint8_t> packed = test::PackCodes3(codes);
  ASSERT_EQ(packed.size(), 5u);  // one group and two bytes holding five codes

  G726Codec partial;
  std::vector<uint8_t> out(2 * codes.size());
  ASSERT_EQ(partial.Decode(packed.data(), packed.size(), out.data(), out.size()), 13);

  const std::vector<int> samples = test::PcmSamples(out.data(), codes.size());
  g726::State state;
  for (size_t i = 0; i < codes.size(); ++i) {
    const int sr = g726::DecodeSample(state, codes[i], g726::kRate24);
    EXPECT_EQ(samples[i], std::clamp(4 * sr, -32768, 32767)) << "sample " << i;
  }
}

TEST(G726Codec, RefusesAnOutputThatCannotHoldTheSamples) {
  G726Codec codec;
  std::vector<uint8_t> payload(3073, 0x11);
  std::vector<uint8_t> out(2 * 8192, 0xEE);
  EXPECT_EQ(codec.Decode(payload.data(), 3073, out.data(), out.size()), 0);
  EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](uint8_t b) { return b == 0xEE; }));
  EXPECT_EQ(codec.Decode(nullptr, 3072, out.data(), out.size()), 0);
  EXPECT_EQ(codec.Decode(payload.data(), 3072, nullptr, out.size()), 0);
}

TEST(G726Codec, EncodesACaptureBlockIntoOnePayload) {
  G726Codec codec;
  const std::vector<uint8_t> pcm = test::PcmBytes(test::Tone(8200, 440, 6000));
  std::vector<uint8_t> payload(3073, 0xEE);
  EXPECT_EQ(codec.Encode(pcm.data(), 8192, payload.data(), 3071), 0);  // no room
  EXPECT_EQ(payload[0], 0xEE);
  EXPECT_EQ(codec.Encode(pcm.data(), 8192, payload.data(), 3072), 3072);
  EXPECT_EQ(payload[3072], 0xEE);
  // A trailing part group is not coded: three whole groups from 31 samples.
  EXPECT_EQ(codec.Encode(pcm.data(), 31, payload.data(), payload.size()), 9);
  EXPECT_EQ(codec.Encode(nullptr, 8192, payload.data(), payload.size()), 0);
}

TEST(G726Codec, StatesRunOnAcrossBlocks) {
  const std::vector<int> tone = test::Tone(2 * 8192, 440, 6000);
  const std::vector<uint8_t> pcm = test::PcmBytes(tone);

  G726Codec whole;
  std::vector<uint8_t> once(2 * 3072);
  ASSERT_EQ(whole.Encode(pcm.data(), 2 * 8192, once.data(), once.size()), 2 * 3072);

  G726Codec blocks;
  std::vector<uint8_t> twice(2 * 3072);
  ASSERT_EQ(blocks.Encode(pcm.data(), 8192, twice.data(), 3072), 3072);
  ASSERT_EQ(blocks.Encode(pcm.data() + 2 * 8192, 8192, twice.data() + 3072, 3072), 3072);
  EXPECT_EQ(once, twice);
}

// Loud input drives SR past 14 bits; scaled to 16 bits it saturates instead of wrapping.
TEST(G726Codec, LoudOutputSaturates) {
  const std::vector<int> codes(64, 3);  // the largest positive difference, again and again
  const std::vector<uint8_t> packed = test::PackCodes3(codes);
  G726Codec codec;
  std::vector<uint8_t> out(2 * codes.size());
  ASSERT_EQ(codec.Decode(packed.data(), packed.size(), out.data(), out.size()), 64);
  const std::vector<int> samples = test::PcmSamples(out.data(), codes.size());

  g726::State state;
  int saturated = 0;
  for (size_t i = 0; i < codes.size(); ++i) {
    const int sr = g726::DecodeSample(state, codes[i], g726::kRate24);
    if (4 * sr > 32767 || 4 * sr < -32768) ++saturated;
    EXPECT_EQ(samples[i], std::clamp(4 * sr, -32768, 32767)) << "sample " << i;
    EXPECT_EQ(samples[i] < 0, sr < 0) << "sample " << i;  // a wrap would flip the sign
  }
  EXPECT_GT(saturated, 0);
}

TEST(G726Codec, RoundTripKeepsAToneRecognisable) {
  const std::vector<int> tone = test::Tone(8192, 1000, 8000);
  const std::vector<uint8_t> pcm = test::PcmBytes(tone);
  G726Codec codec;
  std::vector<uint8_t> payload(G726Codec::kBlockBytes);
  ASSERT_EQ(codec.Encode(pcm.data(), tone.size(), payload.data(), payload.size()), 3072);
  std::vector<uint8_t> out(2 * 8192);
  ASSERT_EQ(codec.Decode(payload.data(), payload.size(), out.data(), out.size()), 8192);
  EXPECT_GT(test::SnrDb(tone, test::PcmSamples(out.data(), 8192), 256), 20.0);
}

}  // namespace
}  // namespace pel
