// Coding speed of the three audio codecs, in samples per second (items/s), on one capture or
// playback block per iteration, the way capture and playback call them.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "audio/codec/AudioCodecFactory.h"
#include "audio/codec/G726Codec.h"
#include "audio/codec/ImaAdpcmCodec.h"
#include "audio/codec/MuLawCopyCodec.h"
#include "support/CodecTestUtil.h"

namespace {

// Three tones and some noise: busier than a pure tone, so the coders adapt all the time.
std::vector<uint8_t> Signal(size_t samples) {
  std::vector<int> mix = pel::test::Tone(samples, 310, 5000);
  const std::vector<int> second = pel::test::Tone(samples, 1130, 3000);
  const std::vector<int> third = pel::test::Tone(samples, 2450, 1500);
  uint32_t noise = 12345;
  for (size_t i = 0; i < samples; ++i) {
    noise = noise * 1103515245u + 12345u;
    mix[i] += second[i] + third[i] + static_cast<int>((noise >> 16) % 2001) - 1000;
  }
  return pel::test::PcmBytes(mix);
}

struct Block {
  int mode;
  size_t samples;       // PCM samples per block
  size_t encodeLength;  // what capture passes as the encoder's input length
  size_t payload;       // coded bytes per block
};

constexpr Block kG726{pel::kAudioModeG726, pel::G726Codec::kBlockSamples,
                      pel::G726Codec::kBlockSamples, pel::G726Codec::kBlockBytes};
constexpr Block kIma{pel::kAudioModeIma, pel::ImaAdpcmCodec::kBlockSamples,
                     2 * pel::ImaAdpcmCodec::kBlockSamples, pel::ImaAdpcmCodec::kBlockBytes};
constexpr Block kMuLaw{pel::kAudioModeMuLaw, pel::MuLawCopyCodec::kBlockBytes,
                       pel::MuLawCopyCodec::kBlockBytes, pel::MuLawCopyCodec::kBlockBytes};

void BM_Encode(benchmark::State& state, Block block) {
  const std::unique_ptr<pel::AudioCodec> codec = pel::MakeAudioCodec(block.mode);
  const std::vector<uint8_t> pcm = Signal(block.samples);
  std::vector<uint8_t> payload(block.payload);
  for (auto _ : state) {
    const int result =
        codec->Encode(pcm.data(), block.encodeLength, payload.data(), payload.size());
    if (result <= 0) state.SkipWithError("nothing encoded");
    benchmark::DoNotOptimize(payload.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(block.samples));
}

void BM_Decode(benchmark::State& state, Block block) {
  const std::unique_ptr<pel::AudioCodec> codec = pel::MakeAudioCodec(block.mode);
  const std::vector<uint8_t> pcm = Signal(block.samples);
  std::vector<uint8_t> payload(block.payload);
  codec->Encode(pcm.data(), block.encodeLength, payload.data(), payload.size());
  std::vector<uint8_t> out(2 * block.samples);
  for (auto _ : state) {
    const int result = codec->Decode(payload.data(), payload.size(), out.data(), out.size());
    if (result <= 0) state.SkipWithError("nothing decoded");
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(block.samples));
}

BENCHMARK_CAPTURE(BM_Encode, G726_24k, kG726);
BENCHMARK_CAPTURE(BM_Decode, G726_24k, kG726);
BENCHMARK_CAPTURE(BM_Encode, ImaAdpcm, kIma);
BENCHMARK_CAPTURE(BM_Decode, ImaAdpcm, kIma);
BENCHMARK_CAPTURE(BM_Encode, MuLawCopy, kMuLaw);
BENCHMARK_CAPTURE(BM_Decode, MuLawCopy, kMuLaw);

}  // namespace
