#include "SentTone.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "support/G711Reference.h"

namespace pel::wintest {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kOmega = 2 * kPi * kToneHz / kSampleRate;

// IMA ADPCM's step sizes and index changes.
constexpr int kImaSteps[89] = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,
    25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,    73,    80,
    88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,   253,   279,
    307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,   876,   963,
    1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749,  3024,  3327,
    3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493,  10442, 11487,
    12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
constexpr int kImaIndexChange[8] = {-1, -1, -1, -1, 2, 4, 6, 8};

// A block: 64 header bytes whose bytes 60..62 hold the starting predictor (little-endian)
// and step index, then 2048 bytes of codes, the earlier one in the low nibble. The
// difference is (2m + 1) * step / 8 for the code's magnitude m.
std::vector<double> DecodeIma(const std::string& block) {
  std::vector<double> out;
  if (block.size() < 64) return out;
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(block[i]); };
  int predictor = static_cast<int16_t>(byte(60) | byte(61) << 8);
  int index = std::min<int>(byte(62), 88);
  for (size_t i = 64; i < block.size(); ++i) {
    for (const int code : {byte(i) & 15, byte(i) >> 4}) {
      const int step = kImaSteps[index];
      index = std::clamp(index + kImaIndexChange[code & 7], 0, 88);
      const int difference = (2 * (code & 7) + 1) * step / 8;
      predictor = std::clamp(predictor + ((code & 8) ? -difference : difference), -32768, 32767);
      out.push_back(predictor);
    }
  }
  return out;
}

}  // namespace

SentAudio::SentAudio(int mode) : mode_(mode) {}

std::vector<double> SentAudio::Decode(const std::string& payload) {
  std::vector<double> out;
  if (mode_ == 2) {
    for (const char c : payload) {
      out.push_back(4.0 * test::G711Expand(test::G711Law::Mu, static_cast<uint8_t>(c)));
    }
  } else if (mode_ == 9) {
    out = DecodeIma(payload);
  } else if (mode_ == 1) {
    // Stereo samples, coded as one sequence; both channels carry the tone: the left is kept.
    std::vector<int16_t> pcm(payload.size() * 8 / 3 + 8);
    const int samples =
        g726_.Decode(reinterpret_cast<const uint8_t*>(payload.data()), payload.size(),
                     reinterpret_cast<uint8_t*>(pcm.data()), pcm.size() * 2);
    for (int i = 0; i + 1 < samples; i += 2) out.push_back(pcm[static_cast<size_t>(i)]);
  }
  return out;
}

ToneFit FitTone(const std::vector<double>& samples) {
  if (samples.empty()) return {0, 0, 0};
  const double n = static_cast<double>(samples.size());
  double c = 0, s = 0;
  for (size_t i = 0; i < samples.size(); ++i) {
    c += samples[i] * std::cos(kOmega * static_cast<double>(i));
    s += samples[i] * std::sin(kOmega * static_cast<double>(i));
  }
  c *= 2 / n;
  s *= 2 / n;
  double left = 0;
  for (size_t i = 0; i < samples.size(); ++i) {
    const double w = kOmega * static_cast<double>(i);
    const double e = samples[i] - c * std::cos(w) - s * std::sin(w);
    left += e * e;
  }
  return {std::hypot(c, s), std::atan2(-s, c), std::sqrt(left / n)};
}

double PhaseSlip(double a, double b, size_t samples) {
  const double slip = b - a - kOmega * static_cast<double>(samples);
  return std::remainder(slip, 2 * kPi);
}

}  // namespace pel::wintest
