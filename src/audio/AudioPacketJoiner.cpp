#include "audio/AudioPacketJoiner.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "Common/Jes/JesPacket.h"
#include "audio/AudioRecord.h"
#include "ports/Diagnostics.h"

namespace pel {

AudioPacketJoiner::AudioPacketJoiner() : area_(new (std::nothrow) uint8_t[kAreaBytes]()) {}

AudioPacketJoiner::Step AudioPacketJoiner::Add(const uint8_t* record, size_t received) {
  if (!area_ || record == nullptr || received < kAudioRecordHeader ||
      record[0] != kAudioRecordMark) {
    return Step::kNone;
  }
  const uint8_t kind = record[1];
  if (kind == kRecordLogoutAck) return Step::kLogoutAck;
  if (kind != kRecordFragment && kind != kRecordLastFragment) return Step::kNone;

  const size_t present = std::min(received, kAudioRecordSize) - kAudioRecordHeader;
  const size_t count = std::min<size_t>(record[2], present);
  if (count > 0) {
    // Storing stops for good once the limit is reached, so stored_ == joined_ until then.
    if (joined_ < kStoreLimit && stored_ == joined_) {
      std::memcpy(area_.get() + joined_, record + kAudioRecordHeader, count);
      stored_ += count;
    }
    joined_ += count;
  }
  return kind == kRecordLastFragment ? Step::kPacket : Step::kNone;
}

bool AudioPacketJoiner::TakePacket(const uint8_t** payload, size_t* length) {
  if (!area_ || joined_ == 0) return false;
  const size_t stored = stored_;
  joined_ = 0;
  stored_ = 0;
  if (!jes_payload_in(area_.get(), stored, payload, length)) {
    ReportDiagnosticF("\tDrop audio packet: header does not fit the %u bytes joined",
                      static_cast<unsigned>(stored));
    return false;
  }
  return true;
}

}  // namespace pel
