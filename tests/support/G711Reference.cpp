#include "support/G711Reference.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace pel::test {

namespace {

constexpr int kAlawInversion = 0x55;

int BitLength(int value) {
  int bits = 0;
  while (value > 0) {
    ++bits;
    value >>= 1;
  }
  return bits;
}

int AlawExpand(int code) {
  const int plain = (code ^ kAlawInversion) & 0xFF;
  const int segment = (plain >> 4) & 7;
  const int mantissa = plain & 15;
  // 13-bit magnitude, doubled for the 14-bit scale.
  const int magnitude13 = segment == 0 ? 2 * mantissa + 1 : (2 * mantissa + 33) << (segment - 1);
  return (plain & 0x80) ? 2 * magnitude13 : -2 * magnitude13;
}

int MulawExpand(int code) {
  const int plain = ~code & 0xFF;
  const int segment = (plain >> 4) & 7;
  const int mantissa = plain & 15;
  const int magnitude = ((2 * mantissa + 33) << segment) - 33;
  return (plain & 0x80) ? -magnitude : magnitude;
}

int AlawCompress(int linear) {
  // The 13-bit value; negative values are one's complemented, which makes A-law's
  // decision levels symmetric about -1/2.
  const int value13 = linear >> 1;
  const int sign = value13 >= 0 ? 0x80 : 0;
  const int magnitude = std::min(value13 >= 0 ? value13 : -value13 - 1, 4095);
  const int segment = magnitude < 32 ? 0 : BitLength(magnitude) - 5;
  const int mantissa = (magnitude >> (segment < 2 ? 1 : segment)) & 15;
  return (sign | (segment << 4) | mantissa) ^ kAlawInversion;
}

int MulawCompress(int linear) {
  const int mask = linear < 0 ? 0x7F : 0xFF;
  const int biased = std::min(linear < 0 ? -linear : linear, 8159) + 33;
  const int segment = BitLength(biased) - 6;
  if (segment > 7) return 0x7F ^ mask;
  const int mantissa = (biased >> (segment + 1)) & 15;
  return ((segment << 4) | mantissa) ^ mask;
}

// A-law without the inversion runs 0x80..0xFF up from the smallest positive value and
// 0x00..0x7F down from the smallest negative one.
int AlawNeighbour(int code, bool up) {
  const int plain = (code ^ kAlawInversion) & 0xFF;
  int next;
  if (plain & 0x80) {
    if (up)
      next = plain == 0xFF ? 0xFF : plain + 1;
    else
      next = plain == 0x80 ? 0x00 : plain - 1;
  } else {
    if (up)
      next = plain == 0x00 ? 0x80 : plain - 1;
    else
      next = plain == 0x7F ? 0x7F : plain + 1;
  }
  return next ^ kAlawInversion;
}

// Mu-law runs 0x80 (largest) .. 0xFF (+0) and 0x7F (-0) .. 0x00 (most negative); the two
// zeros count as one value.
int MulawNeighbour(int code, bool up) {
  if (code & 0x80) {
    if (up) return code == 0x80 ? 0x80 : code - 1;
    return code == 0xFF ? 0x7E : code + 1;
  }
  if (up) return code == 0x7F ? 0xFE : code + 1;
  return code == 0x00 ? 0x00 : code - 1;
}

}  // namespace

int G711Expand(G711Law law, int code) {
  return law == G711Law::A ? AlawExpand(code) : MulawExpand(code);
}

int G711Compress(G711Law law, int linear) {
  return law == G711Law::A ? AlawCompress(linear) : MulawCompress(linear);
}

int G711Neighbour(G711Law law, int code, bool up) {
  return law == G711Law::A ? AlawNeighbour(code, up) : MulawNeighbour(code, up);
}

G711Decoded DecodeToG711(pel::g726::State& state, const pel::g726::Rate& rate, G711Law law,
                         int code) {
  const pel::g726::Prediction prediction = pel::g726::Predict(state);
  const int sr = pel::g726::Update(state, prediction, code, rate);
  const int sp = G711Compress(law, sr);
  // Re-quantise what the PCM code stands for; codes compare in signed order once the sign
  // bit is flipped.
  const int dx = G711Expand(law, sp) - prediction.se;
  const int id = pel::g726::Quantize(dx, prediction.y, rate);
  if (id == code) return {sr, sp};
  const int signBit = 1 << (rate.codeBits - 1);
  return {sr, G711Neighbour(law, sp, (id ^ signBit) < (code ^ signBit))};
}

std::vector<int> ReadSequence(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in),
                                         std::istreambuf_iterator<char>()};
  std::vector<int> words;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) words.push_back(bytes[i] | (bytes[i + 1] << 8));
  return words;
}

}  // namespace pel::test
