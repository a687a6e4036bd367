#include "audio/codec/AudioCodec.h"

#include "ports/Diagnostics.h"

namespace pel {

AudioCodec::~AudioCodec() = default;

int AudioCodec::Decode(const uint8_t*, size_t, uint8_t*, size_t) { return 0; }

int AudioCodec::Encode(const uint8_t*, size_t, uint8_t*, size_t) { return 0; }

void AudioCodec::SetUp(const GainTable*, const int*, std::atomic<int>*) {}

bool AudioCodec::IsBusy() const { return true; }

void ReportPlaybackDrop() { ReportDiagnostic("\n\n\t\tDrop audio packet!!!!!!!!!!!\n\n\n"); }

bool PendingBlocks::IsBusy() const { return counter_ != nullptr && counter_->load() >= 2; }

bool PendingBlocks::DropsBlock() const {
  if (counter_ == nullptr || counter_->load() < 3) return false;
  ReportPlaybackDrop();
  return true;
}

}  // namespace pel
