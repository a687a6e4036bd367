#pragma once

#include <algorithm>
#include <cstdint>

namespace pel::ima {

// The IMA ADPCM step and index tables.
inline constexpr int16_t kStepTable[] = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,   21,    23,
    25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,   73,    80,
    88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,  253,   279,
    307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,  876,   963,
    1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749, 3024,  3327,
    3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493, 10442, 11487,
    12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
inline constexpr int kMaxIndex = static_cast<int>(sizeof(kStepTable) / sizeof(kStepTable[0])) - 1;
static_assert(kMaxIndex == 88, "the IMA step table has 89 entries");

inline constexpr int8_t kIndexTable[16] = {-1, -1, -1, -1, 2, 4, 6, 8, -1, -1, -1, -1, 2, 4, 6, 8};

// A coder state: the predicted sample and the step index (0..88).
struct State {
  int predictor = 0;
  int index = 0;
};

// The decoding step for a 4-bit code (bit 3 the sign, bits 0-2 the magnitude m): moves the
// state and answers the new predictor. The difference is ((2m + 1) * step) / 8, exactly,
// not the reference coder's shift-and-add approximation.
inline int Step(int code, State& state) {
  const int step = kStepTable[state.index];
  state.index = std::clamp(state.index + kIndexTable[code & 15], 0, kMaxIndex);
  const int diff = ((2 * (code & 7) + 1) * step) / 8;
  const int predictor = (code & 8) ? state.predictor - diff : state.predictor + diff;
  state.predictor = std::clamp(predictor, -32768, 32767);
  return state.predictor;
}

}  // namespace pel::ima
