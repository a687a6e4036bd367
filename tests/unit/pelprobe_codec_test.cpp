// pelprobe's encode and decode paths: block cutting, padding, one coder state across chunks,
// IMA clock stamps, partial last blocks, and the round trip in every mode.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "audio/codec/G726Codec.h"
#include "audio/codec/ImaAdpcmCodec.h"
#include "audio/AudioStreamCoder.h"
#include "pelprobe/AudioSources.h"
#include "support/CodecTestUtil.h"
#include "support/FixedClock.h"
#include "support/G711Reference.h"

namespace pel {
namespace {

using probe::LinearToMuLaw;
using probe::ToneSource;

using Bytes = std::vector<uint8_t>;

// Hands out its bytes in pieces of at most `piece`, as a pipe would.
class MemorySource : public ByteSource {
 public:
  MemorySource(Bytes bytes, size_t piece = 100000) : bytes_(std::move(bytes)), piece_(piece) {}
  size_t Read(uint8_t* to, size_t count) override {
    const size_t n = std::min({count, piece_, bytes_.size() - at_});
    if (n > 0) std::memcpy(to, bytes_.data() + at_, n);
    at_ += n;
    return n;
  }
  bool Failed() const override { return false; }

 private:
  Bytes bytes_;
  size_t piece_;
  size_t at_ = 0;
};

class MemorySink : public ByteSink {
 public:
  bool Write(const uint8_t* from, size_t count) override {
    if (bytes.size() + count > limit) return false;
    bytes.insert(bytes.end(), from, from + count);
    return true;
  }
  Bytes bytes;
  size_t limit = static_cast<size_t>(-1);
};

// The first `count` samples (all when 0) of 16-bit PCM bytes.
std::vector<int> Samples(const Bytes& pcm, size_t count = 0) {
  return test::PcmSamples(pcm.data(), count != 0 ? count : pcm.size() / 2);
}

// Chunks of two blocks, so that a few blocks cross chunk borders.
constexpr size_t kSmallChunks = 2;

Bytes Encode(int mode, const Bytes& input, IMillisecondClock& clock, CoderCounts& counts) {
  MemorySource source(input);
  MemorySink sink;
  EXPECT_EQ(EncodeAudio(mode, source, sink, clock, counts, kSmallChunks), CoderResult::kDone);
  return sink.bytes;
}

Bytes Decode(int mode, const Bytes& input, CoderCounts& counts, CoderResult expected = CoderResult::kDone) {
  MemorySource source(input, 777);
  MemorySink sink;
  EXPECT_EQ(DecodeAudio(mode, source, sink, counts, kSmallChunks), expected);
  return sink.bytes;
}

TEST(PelprobeCodec, G726RunsOneStateAcrossChunksAndPadsTheLastBlock) {
  // Five blocks and a half: three chunks, and a part block at the end.
  constexpr size_t kBlocks = 6;
  const size_t samples = (kBlocks - 1) * G726Codec::kBlockSamples + 4096;
  const Bytes pcm = test::PcmBytes(test::Tone(samples, 697.0, 9000.0));
  test::FixedClock clock(0);
  CoderCounts counts;
  const Bytes coded = Encode(1, pcm, clock, counts);
  EXPECT_EQ(counts.blocks, kBlocks);
  EXPECT_EQ(counts.padded, 4096u * 2);
  ASSERT_EQ(coded.size(), kBlocks * G726Codec::kBlockBytes);

  // The same as one codec given each capture block in turn.
  G726Codec reference;
  Bytes padded = pcm;
  padded.resize(kBlocks * G726Codec::kBlockSamples * 2, 0);
  Bytes expected(coded.size());
  for (size_t b = 0; b < kBlocks; ++b) {
    ASSERT_EQ(reference.Encode(padded.data() + b * 16384, G726Codec::kBlockSamples,
                               expected.data() + b * G726Codec::kBlockBytes, G726Codec::kBlockBytes),
              static_cast<int>(G726Codec::kBlockBytes));
  }
  EXPECT_TRUE(coded == expected);

  const Bytes decoded = Decode(1, coded, counts = {});
  ASSERT_EQ(decoded.size(), padded.size());
  const auto original = Samples(pcm);
  const auto back = Samples(decoded, pcm.size() / 2);
  EXPECT_GT(test::SnrDb(original, back, 64), 20.0);
}

TEST(PelprobeCodec, G726DecodesAPartBlockAsFarAsItGoes) {
  test::FixedClock clock(0);
  CoderCounts counts;
  Bytes coded = Encode(1, test::PcmBytes(test::Tone(8192, 440.0, 5000.0)), clock, counts);
  coded.push_back(0x5A);  // one more byte: two more codes
  const Bytes decoded = Decode(1, coded, counts = {});
  EXPECT_EQ(decoded.size(), (8192u + 2u) * 2);
  EXPECT_EQ(counts.blocks, 2u);
}

TEST(PelprobeCodec, MuLawIsCarriedUnchangedAndPaddedWithSilence) {
  Bytes law(3000);
  for (size_t i = 0; i < law.size(); ++i) law[i] = static_cast<uint8_t>(i * 7 + 3);
  test::FixedClock clock(0);
  CoderCounts counts;
  const Bytes coded = Encode(2, law, clock, counts);
  ASSERT_EQ(coded.size(), 3u * 1400);
  EXPECT_TRUE(std::equal(law.begin(), law.end(), coded.begin()));
  EXPECT_TRUE(std::all_of(coded.begin() + 3000, coded.end(), [](uint8_t b) { return b == 0xFF; }));
  EXPECT_EQ(Decode(2, coded, counts), coded);
}

TEST(PelprobeCodec, ImaBlocksCarryTheClockAndOnlyWholeBlocksDecode) {
  const Bytes pcm = test::PcmBytes(test::Tone(3 * ImaAdpcmCodec::kBlockSamples, 1000.0, 12000.0));
  test::FixedClock clock(0x00ABCDEF);
  CoderCounts counts;
  const Bytes coded = Encode(9, pcm, clock, counts);
  ASSERT_EQ(coded.size(), 3u * ImaAdpcmCodec::kBlockBytes);
  // Every header as the codec itself writes it at that clock.
  ImaAdpcmCodec reference(clock);
  Bytes block(ImaAdpcmCodec::kBlockBytes);
  for (size_t b = 0; b < 3; ++b) {
    reference.Encode(pcm.data() + b * 8192, 8192, block.data(), block.size());
    EXPECT_TRUE(std::equal(block.begin(), block.end(), coded.begin() + static_cast<long>(b * block.size())))
        << "block " << b;
  }
  const Bytes decoded = Decode(9, coded, counts);
  ASSERT_EQ(decoded.size(), pcm.size());
  EXPECT_GT(test::SnrDb(Samples(pcm),
                        Samples(decoded), 0),
            15.0);

  Bytes cut(coded.begin(), coded.end() - 1);
  const Bytes partial = Decode(9, cut, counts = {}, CoderResult::kPartialBlock);
  EXPECT_EQ(partial.size(), 2u * 8192) << "the whole blocks before the cut are kept";
}

TEST(PelprobeCodec, BadModeAndFailingOutput) {
  test::FixedClock clock(0);
  CoderCounts counts;
  for (int mode : {0, 3, 8, 10}) {
    MemorySource source(Bytes(100));
    MemorySink sink;
    EXPECT_EQ(EncodeAudio(mode, source, sink, clock, counts), CoderResult::kBadMode) << mode;
    EXPECT_EQ(DecodeAudio(mode, source, sink, counts), CoderResult::kBadMode) << mode;
  }
  MemorySource source(Bytes(20000));
  MemorySink sink;
  sink.limit = 10;
  EXPECT_EQ(EncodeAudio(1, source, sink, clock, counts), CoderResult::kWriteFailed);
  MemorySource empty{Bytes()};
  EXPECT_EQ(EncodeAudio(2, empty, sink, clock, counts = {}), CoderResult::kDone);
  EXPECT_EQ(counts.blocks, 0u);
}

TEST(PelprobeSources, ToneAndMuLawMatchTheirReferences) {
  // The reference works on the 14-bit scale: every 16-bit value that scales down exactly.
  for (int sample = -32768; sample <= 32764; sample += 4) {
    ASSERT_EQ(LinearToMuLaw(static_cast<int16_t>(sample)),
              test::G711Compress(test::G711Law::Mu, sample / 4))
        << sample;
  }
  // Mode 1 puts each sample on both channels.
  ToneSource stereo(1, 1000);
  Bytes bytes(16);
  stereo.Fill(bytes.data(), bytes.size());
  const auto samples = Samples(bytes);
  for (size_t i = 0; i < samples.size(); i += 2) EXPECT_EQ(samples[i], samples[i + 1]);
  EXPECT_NE(samples[2], 0);
}

}  // namespace
}  // namespace pel
