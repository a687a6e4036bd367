#include "Mutator.h"

namespace hostile {

namespace {

void PutLength(std::vector<uint8_t>& bytes, uint32_t n) {
  if (bytes.size() < 4) bytes.resize(4);
  for (int k = 0; k < 4; ++k) bytes[k] = static_cast<uint8_t>(n >> (8 * k));
}

}  // namespace

uint32_t DeclaredLength(const std::vector<uint8_t>& bytes) {
  if (bytes.size() < 4) return 0;
  return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

Mutation Mutate(Random& rng, const std::vector<uint8_t>& valid) {
  Mutation m;
  m.bytes = valid;
  const uint32_t size = static_cast<uint32_t>(valid.size());
  switch (rng.Below(12)) {
    case 0:
      m.expect = Mutation::Expect::kAccept;
      m.what = "an intact copy";
      break;
    case 1:
      for (uint32_t k = 1 + rng.Below(64); k > 0; --k) {
        m.bytes.push_back(static_cast<uint8_t>(rng.Next32()));
      }
      m.expect = Mutation::Expect::kAccept;
      m.what = "an intact copy with bytes after it";
      break;
    case 2: {
      const uint32_t keep = rng.Below(size);
      m.bytes.resize(keep);
      m.expect = Mutation::Expect::kRefuse;
      m.what = "a copy cut to " + std::to_string(keep) + " of " + std::to_string(size) + " bytes";
      break;
    }
    case 3: {
      const uint32_t flips = 1 + rng.Below(8);
      for (uint32_t k = 0; k < flips && size > 0; ++k) {
        m.bytes[rng.Below(size)] ^= static_cast<uint8_t>(1u << rng.Below(8));
      }
      m.what = std::to_string(flips) + " bit(s) flipped";
      break;
    }
    case 4: {
      // Bytes past the header overwritten, often in a row: type bytes and length fields.
      const uint32_t at = size > 4 ? 4 + rng.Below(size - 4) : 0;
      const uint32_t n = 1 + rng.Below(6);
      for (uint32_t k = 0; k < n && at + k < m.bytes.size(); ++k) {
        static const uint8_t kBytes[] = {0x00, 0x01, 0x02, 0x03, 0x04, 0x7F, 0x80, 0xFF};
        m.bytes[at + k] = rng.OneIn(2) ? rng.Pick(kBytes) : static_cast<uint8_t>(rng.Next32());
      }
      m.what = std::to_string(n) + " byte(s) overwritten at " + std::to_string(at);
      break;
    }
    case 5: {
      // A slice of the block copied over another place of it.
      if (size > 8) {
        const uint32_t from = 4 + rng.Below(size - 4);
        const uint32_t to = 4 + rng.Below(size - 4);
        const uint32_t n = 1 + rng.Below(size - (from > to ? from : to));
        for (uint32_t k = 0; k < n; ++k) m.bytes[to + k] = valid[from + k];
        m.what = std::to_string(n) + " bytes from " + std::to_string(from) + " copied to " +
                 std::to_string(to);
      } else {
        m.what = "an intact short copy";
      }
      break;
    }
    case 6: {
      static const uint32_t kHuge[] = {0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu, 0x00100001u,
                                       0x01000000u, 0xFFFFFFF0u};
      const uint32_t n = rng.Pick(kHuge);
      PutLength(m.bytes, n);
      m.expect = Mutation::Expect::kRefuse;
      m.what = "a declared length of " + std::to_string(n);
      break;
    }
    case 7:
      PutLength(m.bytes, 0x00100000u);
      m.expect = Mutation::Expect::kRefuse;
      m.what = "a declared length of 1 MiB over fewer bytes";
      break;
    case 8: {
      const uint32_t n = DeclaredLength(valid);
      const uint32_t delta = 1 + rng.Below(8);
      if (rng.OneIn(2)) {
        PutLength(m.bytes, n + delta);
        m.expect = Mutation::Expect::kRefuse;
        m.what = "a declared length " + std::to_string(delta) + " above the bytes";
      } else {
        PutLength(m.bytes, n >= delta ? n - delta : 0);
        m.what = "a declared length " + std::to_string(delta) + " below the block";
      }
      break;
    }
    case 9: {
      m.bytes.resize(rng.Below(400));
      for (uint8_t& b : m.bytes) b = static_cast<uint8_t>(rng.Next32());
      if (rng.OneIn(2) && m.bytes.size() >= 4) {
        PutLength(m.bytes, static_cast<uint32_t>(m.bytes.size() - 4));
        m.what = "random records under a fitting length";
      } else {
        m.what = "random bytes";
      }
      break;
    }
    case 10:
      m.bytes.clear();
      m.expect = Mutation::Expect::kRefuse;
      m.what = "no bytes at all";
      break;
    default: {
      // Records of the right kinds in a plausible but wrong arrangement: the block's own
      // bytes shuffled in slices, under a length that fits.
      std::vector<uint8_t> body(valid.begin() + (size >= 4 ? 4 : size), valid.end());
      for (uint32_t k = rng.Below(6); k > 0 && body.size() > 2; --k) {
        const uint32_t a = rng.Below(static_cast<uint32_t>(body.size()));
        const uint32_t b = rng.Below(static_cast<uint32_t>(body.size()));
        std::swap(body[a], body[b]);
      }
      if (rng.OneIn(2) && !body.empty()) body.resize(rng.Below(static_cast<uint32_t>(body.size())));
      m.bytes.assign(4, 0);
      PutLength(m.bytes, static_cast<uint32_t>(body.size()));
      m.bytes.insert(m.bytes.end(), body.begin(), body.end());
      m.what = "the block's bytes rearranged";
      break;
    }
  }
  return m;
}

}  // namespace hostile
