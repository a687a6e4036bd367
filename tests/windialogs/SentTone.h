#pragma once

// What the audio a client sent plays as, and how near it is to the tone pulseaudio's sine
// source feeds the capture (windialogs.sh). Mu-law and IMA ADPCM are decoded here from their
// definitions, not by the recorder's coders; G.726 by the decoder that g726_test holds to the
// ITU-T sequences code for code.

#include <memory>
#include <string>
#include <vector>

#include "audio/codec/G726Codec.h"

namespace pel::wintest {

// The tone of the capture source: 450 Hz at half of full scale. 450 cycles fit neither a
// mu-law block (1400 samples) nor an IMA or G.726 block (4096 samples per channel) a whole
// number of times, so a block sent twice or left out shows in the phase.
constexpr double kToneHz = 450.0;
constexpr double kToneAmplitude = 16384.0;
constexpr double kSampleRate = 8000.0;

// The payloads of one connection, in the order they were sent, as the samples of one channel.
class SentAudio {
 public:
  explicit SentAudio(int mode);
  std::vector<double> Decode(const std::string& payload);

 private:
  int mode_;
  G726Codec g726_;  // runs on across packets, as the coder that sent them did
};

// The tone that best fits `samples`: x[n] ~ amplitude * cos(w n + phase), and what is left
// over (root mean square).
struct ToneFit {
  double amplitude;
  double phase;
  double residual;
};
ToneFit FitTone(const std::vector<double>& samples);

// `b` less `a` less the tone's advance over `samples` samples, folded into -pi..pi.
double PhaseSlip(double a, double b, size_t samples);

}  // namespace pel::wintest
