#pragma once

// G.711 log PCM at the 14-bit uniform scale of G.726, and the G.726 decoder's output
// conversion with synchronous coding adjustment, for checking a linear G.726 coder against
// the ITU-T test sequences (whose PCM is log PCM). Codes are as transmitted: A-law with its
// even bits inverted, mu-law with all bits inverted.

#include <cstdint>
#include <string>
#include <vector>

#include "audio/codec/G726State.h"

namespace pel::test {

enum class G711Law { A, Mu };

// Code to uniform value, magnitude up to 8064 (A-law) or 8031 (mu-law).
int G711Expand(G711Law law, int code);

// Uniform value (16 bits, two's complement) to code.
int G711Compress(G711Law law, int linear);

// The code that follows `code` towards larger (up) or smaller (down) values.
int G711Neighbour(G711Law law, int code, bool up);

// One G.726 code decoded: the reconstructed signal SR and the log PCM output that the
// standard's decoder gives: SR compressed, then moved one PCM step where re-encoding the
// PCM value would not give the code back.
struct G711Decoded {
  int sr;
  int pcm;
};
G711Decoded DecodeToG711(pel::g726::State& state, const pel::g726::Rate& rate, G711Law law,
                         int code);

// A test sequence file: one little-endian 16-bit word per sample or code.
std::vector<int> ReadSequence(const std::string& path);

}  // namespace pel::test
