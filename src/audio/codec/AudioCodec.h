#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "audio/codec/GainTable.h"

namespace pel {

// Codec modes: the server's audio device type.
constexpr int kAudioModeG726 = 1;   // G.726 at 24 kbit/s on 16-bit stereo
constexpr int kAudioModeMuLaw = 2;  // 8-bit mu-law mono, carried unchanged
constexpr int kAudioModeIma = 9;    // IMA ADPCM on 16-bit mono

// The coder of one direction of an audio connection. Capture encodes each block into the
// payload of a Jes packet; playback decodes each received payload into one wave block.
// Input and output are byte buffers; nothing is read past the input length or written
// past the output capacity: a call that cannot fit produces nothing and answers 0.
// The base codes nothing.
class AudioCodec {
 public:
  AudioCodec() = default;
  AudioCodec(const AudioCodec&) = delete;
  AudioCodec& operator=(const AudioCodec&) = delete;
  virtual ~AudioCodec();

  // A received payload into 16-bit samples or bytes for the wave device. Samples written
  // (G.726) or 1; 0 when nothing was produced, including a block dropped because the
  // playback is too far behind.
  virtual int Decode(const uint8_t* input, size_t inputLength, uint8_t* output,
                     size_t outputCapacity);

  // A captured block into a payload. The input length is counted in the codec's own units
  // (see each codec). Bytes written (G.726) or 1; 0 when nothing was produced.
  virtual int Encode(const uint8_t* input, size_t inputLength, uint8_t* output,
                     size_t outputCapacity);

  // The owner's gain table and gain index, and the playback's count of blocks queued at
  // the wave device (null on the capture side). The owner keeps all three alive.
  virtual void SetUp(const GainTable* gainTable, const int* gainIndex,
                     std::atomic<int>* pendingBuffers);

  // Whether the playback has two or more blocks queued.
  virtual bool IsBusy() const;
};

// The playback's queue at the wave device as a decoder sees it. Without a counter nothing
// is queued.
class PendingBlocks {
 public:
  void Attach(std::atomic<int>* counter) { counter_ = counter; }
  bool IsBusy() const;
  // Three or more blocks queued: reports the drop line and answers true.
  bool DropsBlock() const;

 private:
  std::atomic<int>* counter_ = nullptr;
};

// Reports a received block that the playback drops because it is too far behind.
void ReportPlaybackDrop();

}  // namespace pel
