#include "audio/codec/GainTable.h"

#include <algorithm>

namespace pel {

GainTable MakeGainTable() {
  GainTable table{};
  for (int i = 1; i < kGainSteps; ++i) table[i] = table[i - 1] + 0.1;
  return table;
}

double SelectGain(const GainTable* table, const int* index) {
  if (table == nullptr || index == nullptr) return 1.0;
  return (*table)[std::clamp(*index, 0, kGainSteps - 1)];
}

int16_t ApplyGain(int sample, double gain) {
  // Gains above 1 would wrap loud samples into clicks: saturate instead.
  const double scaled = std::clamp(sample * gain, -32768.0, 32767.0);
  return static_cast<int16_t>(scaled);
}

}  // namespace pel
