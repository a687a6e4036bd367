#include <gtest/gtest.h>

#include <atomic>
#include <numeric>
#include <string>
#include <vector>

#include "audio/codec/MuLawCopyCodec.h"
#include "support/DiagnosticCapture.h"

namespace pel {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Counting(size_t count) {
  Bytes bytes(count);
  std::iota(bytes.begin(), bytes.end(), static_cast<uint8_t>(1));
  return bytes;
}

TEST(MuLawCopyCodec, CopiesBothWaysUnchanged) {
  MuLawCopyCodec codec;
  const Bytes captured = Counting(1400);
  Bytes payload(1400, 0);
  EXPECT_EQ(codec.Encode(captured.data(), captured.size(), payload.data(), payload.size()), 1);
  EXPECT_EQ(payload, captured);

  Bytes block(4096, 0);
  EXPECT_EQ(codec.Decode(payload.data(), payload.size(), block.data(), block.size()), 1);
  EXPECT_EQ(Bytes(block.begin(), block.begin() + 1400), captured);
  EXPECT_EQ(block[1400], 0);  // the rest of the block is left as it was
}

TEST(MuLawCopyCodec, RefusesWhatDoesNotFit) {
  MuLawCopyCodec codec;
  const Bytes payload = Counting(4097);
  Bytes block(4096, 0xEE);
  EXPECT_EQ(codec.Decode(payload.data(), payload.size(), block.data(), block.size()), 0);
  EXPECT_EQ(block[0], 0xEE);
  EXPECT_EQ(codec.Encode(payload.data(), payload.size(), block.data(), block.size()), 0);
  EXPECT_EQ(codec.Decode(nullptr, 10, block.data(), block.size()), 0);
  EXPECT_EQ(codec.Encode(payload.data(), 10, nullptr, 10), 0);
}

TEST(MuLawCopyCodec, NeverDropsButReportsBusy) {
  MuLawCopyCodec codec;
  EXPECT_FALSE(codec.IsBusy());  // no counter yet
  std::atomic<int> pending{5};
  codec.SetUp(nullptr, nullptr, &pending);
  EXPECT_TRUE(codec.IsBusy());
  const Bytes payload = Counting(1400);
  Bytes block(4096, 0);
  const test::DiagnosticCapture diagnostics;
  EXPECT_EQ(codec.Decode(payload.data(), payload.size(), block.data(), block.size()), 1);
  EXPECT_EQ(diagnostics.lines(), std::vector<std::string>{});
  pending = 1;
  EXPECT_FALSE(codec.IsBusy());
}

}  // namespace
}  // namespace pel
