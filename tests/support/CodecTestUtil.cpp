#include "support/CodecTestUtil.h"

#include <cmath>

namespace pel::test {

namespace {
constexpr double kPi = 3.14159265358979323846;
}  // namespace

std::vector<uint8_t> PcmBytes(const std::vector<int>& samples) {
  std::vector<uint8_t> bytes;
  for (int sample : samples) {
    const auto bits = static_cast<uint16_t>(sample);
    bytes.push_back(static_cast<uint8_t>(bits & 0xFF));
    bytes.push_back(static_cast<uint8_t>(bits >> 8));
  }
  return bytes;
}

std::vector<int> PcmSamples(const uint8_t* bytes, size_t count) {
  std::vector<int> samples;
  for (size_t i = 0; i < count; ++i) {
    samples.push_back(static_cast<int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8)));
  }
  return samples;
}

std::vector<uint8_t> PackCodes3(const std::vector<int>& codes) {
  std::vector<uint8_t> bytes((codes.size() * 3 + 7) / 8, 0);
  for (size_t i = 0; i < codes.size(); ++i) {
    for (int bit = 0; bit < 3; ++bit) {
      if ((codes[i] >> bit) & 1) {
        const size_t at = 3 * i + bit;
        bytes[at / 8] = static_cast<uint8_t>(bytes[at / 8] | (1 << (at % 8)));
      }
    }
  }
  return bytes;
}

std::vector<int> UnpackCodes3(const std::vector<uint8_t>& bytes, size_t count) {
  std::vector<int> codes(count, 0);
  for (size_t i = 0; i < count; ++i) {
    for (int bit = 0; bit < 3; ++bit) {
      const size_t at = 3 * i + bit;
      if ((bytes[at / 8] >> (at % 8)) & 1) codes[i] |= 1 << bit;
    }
  }
  return codes;
}

std::vector<int> Tone(size_t count, double frequency, double amplitude) {
  std::vector<int> samples;
  for (size_t i = 0; i < count; ++i) {
    samples.push_back(static_cast<int>(
        std::lround(amplitude * std::sin(2 * kPi * frequency * static_cast<double>(i) / 8000))));
  }
  return samples;
}

double SnrDb(const std::vector<int>& expected, const std::vector<int>& actual, size_t from) {
  double signal = 0;
  double noise = 0;
  for (size_t i = from; i < expected.size() && i < actual.size(); ++i) {
    signal += static_cast<double>(expected[i]) * expected[i];
    const double error = static_cast<double>(expected[i]) - actual[i];
    noise += error * error;
  }
  return 10 * std::log10(signal / (noise > 0 ? noise : 1e-9));
}

}  // namespace pel::test
