#include "audio/AudioStreamCoder.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "Common/Jes/JesPacket.h"
#include "audio/AudioModeTable.h"
#include "audio/codec/AudioCodec.h"
#include "audio/codec/AudioCodecFactory.h"
#include "audio/codec/GainTable.h"

namespace pel {

namespace {

constexpr uint8_t kMuLawSilence = 0xFF;

// Sizes of one block in both forms.
struct BlockShape {
  size_t inputBytes = 0;    // the mode's input format: one capture block
  size_t encoderUnits = 0;  // what Encode is told the input length is
  size_t payloadBytes = 0;  // the coded block
};

bool LookUpShape(int mode, BlockShape& shape) {
  AudioModeLayout layout;
  if (!LookUpAudioMode(mode, layout)) return false;
  shape.inputBytes = layout.captureBytes;
  shape.encoderUnits = layout.encoderInput;
  shape.payloadBytes = layout.packetBytes - static_cast<size_t>(JES_HEADER_SIZE);
  return true;
}

// The codec for the mode with the gain the control's capture and playback give it.
class StreamCodec {
 public:
  StreamCodec(int mode, IMillisecondClock& clock)
      : gains_(MakeGainTable()), codec_(MakeAudioCodec(mode, clock)) {
    if (codec_) codec_->SetUp(&gains_, &gainIndex_, nullptr);
  }
  AudioCodec* operator->() { return codec_.get(); }
  explicit operator bool() const { return codec_ != nullptr; }

 private:
  GainTable gains_;
  int gainIndex_ = kDefaultGainIndex;
  std::unique_ptr<AudioCodec> codec_;
};

size_t ReadFull(ByteSource& in, uint8_t* to, size_t count) {
  size_t got = 0;
  while (got < count) {
    const size_t n = in.Read(to + got, count - got);
    if (n == 0) break;
    got += n;
  }
  return got;
}

}  // namespace

CoderResult EncodeAudio(int mode, ByteSource& in, ByteSink& out, IMillisecondClock& clock,
                        CoderCounts& counts, size_t chunkBlocks) {
  BlockShape shape;
  if (!LookUpShape(mode, shape)) return CoderResult::kBadMode;
  StreamCodec codec(mode, clock);
  if (!codec) return CoderResult::kBadMode;
  const uint8_t silence = mode == kAudioModeMuLaw ? kMuLawSilence : 0;

  std::vector<uint8_t> input(std::max<size_t>(chunkBlocks, 1) * shape.inputBytes);
  std::vector<uint8_t> output(std::max<size_t>(chunkBlocks, 1) * shape.payloadBytes);
  for (;;) {
    const size_t got = ReadFull(in, input.data(), input.size());
    if (in.Failed()) return CoderResult::kReadFailed;
    if (got == 0) break;
    counts.bytesIn += got;
    const size_t blocks = (got + shape.inputBytes - 1) / shape.inputBytes;
    const size_t whole = blocks * shape.inputBytes;
    std::fill(input.begin() + static_cast<std::ptrdiff_t>(got),
              input.begin() + static_cast<std::ptrdiff_t>(whole), silence);
    counts.padded += whole - got;

    for (size_t b = 0; b < blocks; ++b) {
      const int coded = codec->Encode(input.data() + b * shape.inputBytes, shape.encoderUnits,
                                      output.data() + b * shape.payloadBytes, shape.payloadBytes);
      if (coded <= 0) return CoderResult::kBadMode;
    }
    const size_t bytes = blocks * shape.payloadBytes;
    if (!out.Write(output.data(), bytes)) return CoderResult::kWriteFailed;
    counts.blocks += blocks;
    counts.bytesOut += bytes;
    if (got < input.size()) break;
  }
  return CoderResult::kDone;
}

CoderResult DecodeAudio(int mode, ByteSource& in, ByteSink& out, CoderCounts& counts,
                        size_t chunkBlocks) {
  BlockShape shape;
  if (!LookUpShape(mode, shape)) return CoderResult::kBadMode;
  StreamCodec codec(mode, DefaultMillisecondClock());
  if (!codec) return CoderResult::kBadMode;

  std::vector<uint8_t> input(std::max<size_t>(chunkBlocks, 1) * shape.payloadBytes);
  std::vector<uint8_t> output(std::max<size_t>(chunkBlocks, 1) * shape.inputBytes);
  for (;;) {
    const size_t got = ReadFull(in, input.data(), input.size());
    if (in.Failed()) return CoderResult::kReadFailed;
    if (got == 0) break;
    counts.bytesIn += got;

    size_t written = 0;
    bool partial = false;
    for (size_t at = 0; at < got; at += shape.payloadBytes) {
      const size_t length = std::min(shape.payloadBytes, got - at);
      if (length < shape.payloadBytes && mode == kAudioModeIma) {
        partial = true;
        break;
      }
      const int result = codec->Decode(input.data() + at, length, output.data() + written,
                                       output.size() - written);
      if (result <= 0) return CoderResult::kBadMode;
      // G.726 answers samples; the others one whole block (mu-law: the bytes given).
      if (mode == kAudioModeG726) {
        written += static_cast<size_t>(result) * 2;
      } else if (mode == kAudioModeMuLaw) {
        written += length;
      } else {
        written += shape.inputBytes;
      }
      ++counts.blocks;
    }
    if (!out.Write(output.data(), written)) return CoderResult::kWriteFailed;
    counts.bytesOut += written;
    if (partial) return CoderResult::kPartialBlock;
    if (got < input.size()) break;
  }
  return CoderResult::kDone;
}

const char* CoderResultText(CoderResult result) {
  switch (result) {
    case CoderResult::kDone: return "done";
    case CoderResult::kBadMode: return "the mode is not 1, 2 or 9";
    case CoderResult::kReadFailed: return "the input could not be read";
    case CoderResult::kWriteFailed: return "the output could not be written";
    case CoderResult::kPartialBlock: return "the input ends inside an IMA block of 2112 bytes";
  }
  return "";
}

}  // namespace pel
