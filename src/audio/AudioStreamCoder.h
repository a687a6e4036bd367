#pragma once

#include <cstddef>
#include <cstdint>

#include "ports/Clock.h"

namespace pel {

// Where the coder reads from: Read fills `to` with `count` bytes, fewer only at the end.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual size_t Read(uint8_t* to, size_t count) = 0;
  // Whether a read failed (rather than reaching the end).
  virtual bool Failed() const = 0;
};

// Where the coder writes to; false when not every byte could be written.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual bool Write(const uint8_t* from, size_t count) = 0;
};

// What a run of the coder did.
struct CoderCounts {
  uint64_t blocks = 0;     // blocks coded
  uint64_t bytesIn = 0;
  uint64_t bytesOut = 0;
  uint64_t padded = 0;     // silence added to fill the last block (encoding)
};

enum class CoderResult {
  kDone,
  kBadMode,       // not 1, 2 or 9
  kReadFailed,
  kWriteFailed,
  kPartialBlock,  // decoding: an IMA file ends inside a block (the blocks before are written)
};

// The mode's input format (16-bit little-endian PCM, stereo interleaved for mode 1 and mono
// for mode 9; mu-law bytes for mode 2) into the mode's payload blocks, each whole as the
// control's capture makes it: 3072, 1400 or 2112 bytes for one capture block of 16384, 1400
// or 8192 bytes. One coder codes the whole stream, so G.726 runs on from block to block; IMA
// headers carry the clock's time. A last part block is filled up with silence.
// Blocks are read and written `chunkBlocks` at a time.
constexpr size_t kChunkBlocks = 64;  // about a megabyte of PCM
CoderResult EncodeAudio(int mode, ByteSource& in, ByteSink& out, IMillisecondClock& clock,
                        CoderCounts& counts, size_t chunkBlocks = kChunkBlocks);

// Payload blocks back into the mode's input format, with one decoder for the whole stream.
// A last part block is decoded as far as it goes for G.726 (eight codes in three bytes) and
// mu-law; an IMA block is only ever decoded whole.
CoderResult DecodeAudio(int mode, ByteSource& in, ByteSink& out, CoderCounts& counts,
                        size_t chunkBlocks = kChunkBlocks);

// What went wrong, in a few words.
const char* CoderResultText(CoderResult result);

}  // namespace pel
