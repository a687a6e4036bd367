#include "audio/AudioRecord.h"

namespace pel {

namespace {

constexpr size_t kUserOffset = 4;
constexpr size_t kPasswordOffset = 36;

AudioRecord MakeRecord(uint8_t kind) {
  AudioRecord record{};
  record[0] = kAudioRecordMark;
  record[1] = kind;
  return record;
}

void PutField(AudioRecord& record, size_t offset, const char* text) {
  if (text == nullptr) return;
  for (size_t i = 0; i < kLoginFieldChars && text[i] != '\0'; ++i) {
    record[offset + i] = static_cast<uint8_t>(text[i]);
  }
}

}  // namespace

AudioRecord MakeLoginRecord(const char* user, const char* password) {
  AudioRecord record = MakeRecord(kRecordLogin);
  PutField(record, kUserOffset, user);
  PutField(record, kPasswordOffset, password);
  return record;
}

AudioRecord MakeLogoutRecord() { return MakeRecord(kRecordLogout); }

}  // namespace pel
