#include "audio/AudioModeTable.h"

namespace pel {

namespace {

constexpr uint32_t kSampleRate = 8000;

WaveFormat MakeFormat(uint16_t tag, uint16_t channels, uint16_t bits) {
  WaveFormat format;
  format.formatTag = tag;
  format.channels = channels;
  format.samplesPerSecond = kSampleRate;
  format.bitsPerSample = bits;
  format.blockAlign = static_cast<uint16_t>(bits / 8 * channels);
  format.averageBytesPerSecond = format.blockAlign * kSampleRate;
  return format;
}

}  // namespace

bool LookUpAudioMode(int mode, AudioModeLayout& layout) {
  switch (mode) {
    case 1:  // G.726 on 16-bit stereo; the encoder counts 16-bit samples
      layout = {MakeFormat(kWaveFormatPcm, 2, 16), 16384, 8192, 3132, 16384};
      return true;
    case 2:  // mu-law bytes carried unchanged
      layout = {MakeFormat(kWaveFormatMuLaw, 1, 8), 1400, 1400, 1460, 4096};
      return true;
    case 9:  // IMA ADPCM on 16-bit mono; the encoder always takes 4096 samples
      layout = {MakeFormat(kWaveFormatPcm, 1, 16), 8192, 8192, 2172, 8192};
      return true;
    default:
      return false;
  }
}

}  // namespace pel
