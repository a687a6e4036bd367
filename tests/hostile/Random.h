#pragma once

#include <cstddef>
#include <cstdint>

namespace hostile {

// splitmix64: the same sequence on every compiler and architecture, so that a seed replays a
// run call for call (the standard library's distributions are not portable).
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}

  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  uint32_t Next32() { return static_cast<uint32_t>(Next() >> 32); }
  // 0 .. n-1 (0 when n is 0).
  uint32_t Below(uint32_t n) { return n == 0 ? 0 : static_cast<uint32_t>(Next() % n); }
  bool OneIn(uint32_t n) { return Below(n) == 0; }
  bool Percent(uint32_t p) { return Below(100) < p; }
  int32_t Between(int32_t lo, int32_t hi) {
    const uint64_t span = static_cast<uint64_t>(static_cast<int64_t>(hi) - lo) + 1;
    return static_cast<int32_t>(lo + static_cast<int64_t>(Next() % span));
  }
  template <typename T, size_t N>
  const T& Pick(const T (&items)[N]) {
    return items[Below(static_cast<uint32_t>(N))];
  }

 private:
  uint64_t state_;
};

}  // namespace hostile
