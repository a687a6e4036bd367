#include "Common/Jes/JesPacket.h"

#include <cstring>

#include "ports/Diagnostics.h"

namespace pel {

namespace {

constexpr const char* kSourceName = "Common/Jes/JesPacket";

constexpr int kHeaderLengthOffset = 4;
constexpr int kMarkerOffset = 6;
constexpr int kServerIdOffset = 28;
constexpr int kTotalLengthOffset = 48;
constexpr int kSixBytesOffset = 52;
constexpr int kAudioHeaderLength = JES_HEADER_SIZE - 4;

void PutU16(uint8_t* at, uint16_t value) {
  at[0] = static_cast<uint8_t>(value >> 8);
  at[1] = static_cast<uint8_t>(value);
}

void PutU32(uint8_t* at, uint32_t value) {
  PutU16(at, static_cast<uint16_t>(value >> 16));
  PutU16(at + 2, static_cast<uint16_t>(value));
}

uint16_t GetU16(const uint8_t* at) { return static_cast<uint16_t>((at[0] << 8) | at[1]); }

uint32_t GetU32(const uint8_t* at) {
  return (static_cast<uint32_t>(GetU16(at)) << 16) | GetU16(at + 2);
}

bool SetWord(uint8_t* packet, int offset, uint16_t value) {
  if (packet == nullptr) return false;
  PutU16(packet + offset, value);
  return true;
}

// The payload bytes of an audio packet, by codec mode; 0 for an unknown mode.
uint32_t AudioPayloadSize(int codecMode) {
  switch (codecMode) {
    case 1:
      return 3072;
    case 2:
      return 1400;
    case 9:
      return 2112;
    default:
      return 0;
  }
}

}  // namespace

bool jes_init(uint8_t* packet) {
  if (packet == nullptr) {
    ReportDiagnosticF("[%s(%d)]\t%s", kSourceName, __LINE__, "jes packet is NULL");
    return false;
  }
  static constexpr uint8_t kSixBytes[6] = {0x00, 0x30, 0xDF, 0x00, 0x00, 0x00};
  std::memset(packet, 0, JES_HEADER_SIZE);
  jes_set_type(packet, 15);
  packet[2] = 0xFF;
  packet[3] = 0xFE;
  jes_set_header_length(packet, JES_HEADER_SIZE);
  jes_set_marker(packet, "Kelvanter");
  jes_set_word22(packet, 1);
  jes_set_word24(packet, 4096);
  jes_set_word30(packet, 1);
  packet[45] = 0xFF;
  jes_set_six_bytes(packet, kSixBytes);
  return true;
}

bool jes_set_type(uint8_t* packet, int type) {
  if (packet == nullptr) return false;
  if (type == 15) {
    packet[0] = 0xFF;
    packet[1] = 0xD8;
  } else if (type == 10) {
    packet[0] = 0xA0;
    packet[1] = 0x00;
  } else {
    jes_set_nibbles(packet, type, packet[0]);
  }
  return true;
}

bool jes_set_nibbles(uint8_t* byte, int high, int low) {
  if (byte == nullptr) return false;
  *byte = static_cast<uint8_t>((static_cast<unsigned>(high) << 4) | (low & 15));
  return true;
}

bool jes_set_audio_codec(uint8_t* packet, int mode) { return jes_set_nibbles(packet, 9, mode); }

bool jes_set_flag(uint8_t* packet, int value) {
  if (packet == nullptr) return false;
  packet[1] = static_cast<uint8_t>(((value & 3) << 6) | (packet[1] & 0x3F));
  return true;
}

bool jes_set_marker(uint8_t* packet, const char* text) {
  if (packet == nullptr || text == nullptr) return false;
  uint8_t* field = packet + kMarkerOffset;
  std::memset(field, 0, JES_MARKER_SIZE);
  for (int i = 0; i < JES_MARKER_SIZE - 1 && text[i] != '\0'; ++i) {
    field[i] = static_cast<uint8_t>(text[i]);
  }
  return true;
}

bool jes_set_header_length(uint8_t* packet, uint16_t value) {
  return SetWord(packet, kHeaderLengthOffset, value);
}

bool jes_set_word22(uint8_t* packet, uint16_t value) { return SetWord(packet, 22, value); }

bool jes_set_word24(uint8_t* packet, uint16_t value) { return SetWord(packet, 24, value); }

bool jes_set_word30(uint8_t* packet, uint16_t value) { return SetWord(packet, 30, value); }

bool jes_set_six_bytes(uint8_t* packet, const uint8_t* bytes) {
  if (packet == nullptr || bytes == nullptr) return false;
  std::memcpy(packet + kSixBytesOffset, bytes, 6);
  return true;
}

uint16_t jes_get_header_length(const uint8_t* packet) {
  return packet == nullptr ? 0 : GetU16(packet + kHeaderLengthOffset);
}

uint32_t jes_get_total_length(const uint8_t* packet) {
  return packet == nullptr ? 0 : GetU32(packet + kTotalLengthOffset);
}

int64_t jes_get_payload_length(const uint8_t* packet) {
  if (packet == nullptr) return 0;
  return static_cast<int64_t>(jes_get_total_length(packet)) - 4 - jes_get_header_length(packet);
}

uint8_t* jes_get_payload(uint8_t* packet) {
  return packet == nullptr ? nullptr : packet + 4 + jes_get_header_length(packet);
}

const uint8_t* jes_get_payload(const uint8_t* packet) {
  return packet == nullptr ? nullptr : packet + 4 + jes_get_header_length(packet);
}

int jes_build_audio_packet(uint8_t* packet, int codecMode, uint16_t serverId) {
  if (!jes_init(packet)) return 0;
  jes_set_type(packet, 9);
  jes_set_flag(packet, 1);
  jes_set_header_length(packet, kAudioHeaderLength);
  PutU16(packet + kServerIdOffset, serverId);
  jes_set_word30(packet, 1);
  const uint32_t payload = AudioPayloadSize(codecMode);
  if (payload != 0) {
    jes_set_audio_codec(packet, codecMode);
    PutU32(packet + kTotalLengthOffset, JES_HEADER_SIZE + payload);
  }
  return JES_HEADER_SIZE;
}

bool jes_payload_in(const uint8_t* packet, size_t received, const uint8_t** payload,
                    size_t* length) {
  if (packet == nullptr || payload == nullptr || length == nullptr) return false;
  if (received < kTotalLengthOffset + 4) return false;
  const size_t start = 4 + static_cast<size_t>(jes_get_header_length(packet));
  const size_t total = jes_get_total_length(packet);
  if (start > total || total > received) return false;
  *payload = packet + start;
  *length = total - start;
  return true;
}

}  // namespace pel
