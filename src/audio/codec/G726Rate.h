#pragma once

#include <cstdint>

namespace pel::g726 {

// The rate-dependent tables of ITU-T G.726: quantiser decision levels, reconstruction levels,
// scale factor multipliers W(I) and speed control values F(I). Codes are the transmitted
// ones: the top bit is the sign, the other bits the magnitude (ones' complement for
// negative differences, so the largest code is a zero of either sign).
struct Rate {
  int codeBits;
  int decisionCount;         // entries of `decisions`
  const int16_t* decisions;  // QUAN: normalised log-domain thresholds, ascending
  const int16_t* dqln;       // RECONST: normalised log-domain output per code
  const int16_t* w;          // FUNCTW: W(I) per code, 4 fraction bits
  const int16_t* f;          // FUNCTF: F(I) per code
  int zeroLeakShift;         // UPB: leakage of the zero coefficients, 2^-shift
};

// 24 kbit/s, 3-bit codes: the rate the audio connection uses. Log-domain values carry
// 7 fraction bits; -2048 stands for minus infinity.
inline constexpr int16_t kDecisions24[3] = {8, 218, 331};
inline constexpr int16_t kDqln24[8] = {-2048, 135, 273, 373, 373, 273, 135, -2048};
inline constexpr int16_t kW24[8] = {-4, 30, 137, 582, 582, 137, 30, -4};
inline constexpr int16_t kF24[8] = {0, 1, 2, 7, 7, 2, 1, 0};

inline constexpr Rate kRate24{3, 3, kDecisions24, kDqln24, kW24, kF24, 8};

}  // namespace pel::g726
