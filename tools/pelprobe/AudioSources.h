#pragma once

#include <cstdint>
#include <cstdio>
#include <mutex>

#include "pelprobe/ConsoleWaveDevices.h"

namespace pel::probe {

// A sine tone in a codec mode's input format: 16-bit little-endian PCM (on both channels for
// mode 1) or mu-law bytes (mode 2), at 8000 samples a second and a quarter of full scale.
class ToneSource : public CaptureSource {
 public:
  ToneSource(int mode, int hertz) : mode_(mode), hertz_(hertz) {}
  void Fill(uint8_t* to, size_t count) override;

 private:
  int16_t NextSample();

  int mode_;
  int hertz_;
  uint64_t sample_ = 0;
  int channel_ = 0;    // mode 1: the right channel repeats the left sample
  int16_t current_ = 0;
};

// The bytes of an open file, then silence. Ended() once the file has run out.
class FileCaptureSource : public CaptureSource {
 public:
  FileCaptureSource(std::FILE* file, int mode) : file_(file), mode_(mode) {}
  void Fill(uint8_t* to, size_t count) override;
  // Whether the file ran out, and how many blocks carried some of it.
  bool Ended() const;
  uint64_t BlocksWithData() const;
  bool Failed() const;

 private:
  std::FILE* file_;
  int mode_;
  mutable std::mutex mutex_;
  bool ended_ = false;
  bool failed_ = false;
  uint64_t blocks_ = 0;
};

// Writes played blocks to an open file.
class FilePlaybackSink : public PlaybackSink {
 public:
  explicit FilePlaybackSink(std::FILE* file) : file_(file) {}
  void Play(const uint8_t* data, size_t count) override;
  bool Failed() const;

 private:
  std::FILE* file_;
  mutable std::mutex mutex_;
  bool failed_ = false;
};

// G.711 mu-law of a 16-bit sample.
uint8_t LinearToMuLaw(int16_t sample);

}  // namespace pel::probe
