// Any bytes through the audio stream coder (pelprobe encode and decode): byte 0 picks the mode
// and the direction, byte 1 how many bytes each read hands out and the chunk size; the rest is
// the file. Checks the sizes the coder promises.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "audio/AudioStreamCoder.h"
#include "ports/Clock.h"

namespace {

class Source : public pel::ByteSource {
 public:
  Source(const uint8_t* data, size_t size, size_t piece) : data_(data), size_(size), piece_(piece) {}
  size_t Read(uint8_t* to, size_t count) override {
    const size_t n = std::min({count, piece_, size_ - at_});
    if (n > 0) std::memcpy(to, data_ + at_, n);
    at_ += n;
    return n;
  }
  bool Failed() const override { return false; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t piece_;
  size_t at_ = 0;
};

class CountingSink : public pel::ByteSink {
 public:
  bool Write(const uint8_t*, size_t count) override {
    bytes += count;
    return true;
  }
  size_t bytes = 0;
};

class Clock : public pel::IMillisecondClock {
 public:
  uint32_t Milliseconds() override { return 0x89ABCDEF; }
};

constexpr int kModes[] = {1, 2, 9, 0};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int mode = kModes[data[0] & 3];
  const bool encode = (data[0] & 4) != 0;
  const size_t piece = 1 + data[1] * 97u;
  const size_t chunk = 1 + (data[1] & 3);
  Source source(data + 2, size - 2, piece);
  CountingSink sink;
  pel::CoderCounts counts;
  Clock clock;
  const pel::CoderResult result =
      encode ? pel::EncodeAudio(mode, source, sink, clock, counts, chunk)
             : pel::DecodeAudio(mode, source, sink, counts, chunk);
  if (mode == 0) {
    if (result != pel::CoderResult::kBadMode) __builtin_trap();
    return 0;
  }
  if (counts.bytesOut != sink.bytes || counts.bytesIn != size - 2) __builtin_trap();
  if (encode) {
    // Whole blocks out: 3072, 1400 or 2112 bytes for 16384, 1400 or 8192 bytes in.
    const size_t in = mode == 1 ? 16384 : mode == 2 ? 1400 : 8192;
    const size_t out = mode == 1 ? 3072 : mode == 2 ? 1400 : 2112;
    if (result != pel::CoderResult::kDone) __builtin_trap();
    if (sink.bytes != (size - 2 + in - 1) / in * out) __builtin_trap();
  } else if (mode == 9 && (size - 2) % 2112 != 0) {
    if (result != pel::CoderResult::kPartialBlock) __builtin_trap();
    if (sink.bytes != (size - 2) / 2112 * 8192) __builtin_trap();
  } else if (result != pel::CoderResult::kDone) {
    __builtin_trap();
  }
  return 0;
}
