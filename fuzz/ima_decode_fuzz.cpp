// A received IMA block: any bytes, any length, decoded into a block-sized output.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "audio/codec/GainTable.h"
#include "audio/codec/ImaAdpcm.h"
#include "audio/codec/ImaAdpcmCodec.h"
#include "ports/SteadyClock.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const pel::GainTable gains = pel::MakeGainTable();
  static const int gainIndex = pel::kDefaultGainIndex;
  pel::ImaAdpcmCodec codec(pel::DefaultMillisecondClock());
  codec.SetUp(&gains, &gainIndex, nullptr);

  std::vector<uint8_t> out(2 * pel::ImaAdpcmCodec::kBlockSamples);
  const int result = codec.Decode(data, size, out.data(), out.size());
  if (result != (size >= pel::ImaAdpcmCodec::kBlockBytes ? 1 : 0)) __builtin_trap();

  // The decoding step with codes and states taken from the input.
  if (size >= 3) {
    pel::ima::State state{static_cast<int16_t>(data[0] | (data[1] << 8)),
                          data[2] % (pel::ima::kMaxIndex + 1)};
    for (size_t i = 3; i < size && i < 64; ++i) {
      pel::ima::Step(data[i], state);
      if (state.index < 0 || state.index > pel::ima::kMaxIndex) __builtin_trap();
    }
  }
  return 0;
}
