#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Random.h"

namespace hostile {

// Damaged copies of a block the control saved: a 32-bit little-endian byte count, then that
// many bytes. Some damage must make any loader refuse the block (it is shorter than it says,
// or says more than 1 MiB); the rest may or may not be refused.
struct Mutation {
  enum class Expect { kAccept, kRefuse, kEither };
  std::vector<uint8_t> bytes;
  Expect expect = Expect::kEither;
  std::string what;
};

Mutation Mutate(Random& rng, const std::vector<uint8_t>& valid);

// The byte count a block's header declares (0 when there is no header).
uint32_t DeclaredLength(const std::vector<uint8_t>& bytes);

}  // namespace hostile
