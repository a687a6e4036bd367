#pragma once

#include <array>
#include <cstdint>

namespace pel {

// The audio gain steps owned by capture and playback: 21 doubles from 0.0 in steps of 0.1,
// built by repeated addition so that entry 10 is the double just below 1.0.
constexpr int kGainSteps = 21;
constexpr int kDefaultGainIndex = 10;
using GainTable = std::array<double, kGainSteps>;

GainTable MakeGainTable();

// The gain a table and an index select. Without a table or index the gain is 1.0; an index
// outside the table is taken as its nearest end.
double SelectGain(const GainTable* table, const int* index);

// A sample times the gain, truncated toward zero and kept within 16 bits.
int16_t ApplyGain(int sample, double gain);

}  // namespace pel
