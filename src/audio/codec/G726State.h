#pragma once

// ITU-T G.726 ADPCM with a linear interface: one coder state and the standard's blocks.
// Field names are the standard's variables; widths and scaling follow its fixed-point
// description, so the coder reproduces the ITU-T digital test sequences bit for bit.

#include <cstddef>
#include <cstdint>

#include "audio/codec/G726Rate.h"

namespace pel::g726 {

// One encoder or decoder. Starts in the standard's reset state.
struct State {
  int yl = 34816;                        // slow (locked) scale factor, 19 bits
  int yu = 544;                          // fast (unlocked) scale factor, 13 bits
  int dms = 0;                           // short-term average of F(I)
  int dml = 0;                           // long-term average of F(I)
  int ap = 0;                            // speed control
  int a[2] = {0, 0};                     // pole coefficients a1, a2
  int b[6] = {0, 0, 0, 0, 0, 0};         // zero coefficients b1..b6
  int pk[2] = {0, 0};                    // signs of p(k-1), p(k-2)
  int dq[6] = {32, 32, 32, 32, 32, 32};  // dq(k-1)..dq(k-6), floating format
  int sr[2] = {32, 32};                  // sr(k-1), sr(k-2), floating format
  int td = 0;                            // tone detected
};

// What the state predicts for the next sample: signal estimate SE, its zero-section part
// SEZ (both 15 bits) and the quantiser scale factor Y.
struct Prediction {
  int se;
  int sez;
  int y;
};

Prediction Predict(const State& state);

// LOG, SUBTB and QUAN: the code for difference signal `d` (16 bits) at scale factor `y`.
int Quantize(int d, int y, const Rate& rate);

// RECONST through DELAY: takes the sample's code, adapts the state and returns the
// reconstructed signal SR (16 bits, two's complement).
int Update(State& state, const Prediction& prediction, int code, const Rate& rate);

// One sample's code into SR.
int DecodeSample(State& state, int code, const Rate& rate);

// Blocks of 16-bit PCM, one code per byte. The encoder reduces each sample to 14 bits by an
// arithmetic shift; the decoder scales SR back by 4 and saturates to 16 bits.
void EncodeBlock(State& state, const Rate& rate, const int16_t* pcm, size_t count, uint8_t* codes);
void DecodeBlock(State& state, const Rate& rate, const uint8_t* codes, size_t count, int16_t* pcm);

}  // namespace pel::g726
