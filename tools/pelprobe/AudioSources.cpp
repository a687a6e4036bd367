#include "pelprobe/AudioSources.h"

#include <cmath>
#include <cstring>

#include "audio/codec/AudioCodec.h"
#include "audio/codec/PcmBytes.h"

namespace pel::probe {

namespace {
constexpr double kSampleRate = 8000.0;
constexpr double kAmplitude = 8192.0;
constexpr uint8_t kMuLawSilence = 0xFF;
const double kTwoPi = 2.0 * std::acos(-1.0);
}  // namespace

uint8_t LinearToMuLaw(int16_t sample) {
  constexpr int kBias = 0x84;
  constexpr int kClip = 32635;
  int value = sample;
  const int sign = value < 0 ? 0x80 : 0;
  if (value < 0) value = -value;
  if (value > kClip) value = kClip;
  value += kBias;
  int exponent = 7;
  for (int mask = 0x4000; (value & mask) == 0 && exponent > 0; mask >>= 1) --exponent;
  const int mantissa = (value >> (exponent + 3)) & 0x0F;
  return static_cast<uint8_t>(~(sign | (exponent << 4) | mantissa));
}

int16_t ToneSource::NextSample() {
  const double phase = kTwoPi * hertz_ * static_cast<double>(sample_++) / kSampleRate;
  return static_cast<int16_t>(std::lround(kAmplitude * std::sin(phase)));
}

void ToneSource::Fill(uint8_t* to, size_t count) {
  if (mode_ == kAudioModeMuLaw) {
    for (size_t i = 0; i < count; ++i) to[i] = LinearToMuLaw(NextSample());
    return;
  }
  const int channels = mode_ == kAudioModeG726 ? 2 : 1;
  for (size_t i = 0; i + 1 < count; i += 2) {
    if (channel_ == 0) current_ = NextSample();
    WritePcmSample(to + i, current_);
    channel_ = (channel_ + 1) % channels;
  }
}

void FileCaptureSource::Fill(uint8_t* to, size_t count) {
  std::lock_guard<std::mutex> lock(mutex_);
  size_t got = 0;
  if (!ended_) {
    got = std::fread(to, 1, count, file_);
    if (got > 0) ++blocks_;
    if (got < count) {
      ended_ = true;
      failed_ = std::ferror(file_) != 0;
    }
  }
  std::memset(to + got, mode_ == kAudioModeMuLaw ? kMuLawSilence : 0, count - got);
}

bool FileCaptureSource::Ended() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return ended_;
}

uint64_t FileCaptureSource::BlocksWithData() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return blocks_;
}

bool FileCaptureSource::Failed() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return failed_;
}

void FilePlaybackSink::Play(const uint8_t* data, size_t count) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!failed_ && std::fwrite(data, 1, count, file_) != count) failed_ = true;
}

bool FilePlaybackSink::Failed() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return failed_;
}

}  // namespace pel::probe
