// Joined bytes taken as a received Jes packet: the bounds-aware payload accessor must only
// answer payloads inside what was received; the plain getters read the fixed header fields.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "Common/Jes/JesPacket.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const uint8_t* payload = nullptr;
  size_t length = 0;
  if (pel::jes_payload_in(data, size, &payload, &length)) {
    if (payload < data || payload + length > data + size) __builtin_trap();
    unsigned sum = 0;
    for (size_t i = 0; i < length; ++i) sum += payload[i];  // every byte must be readable
    if (static_cast<int64_t>(length) != pel::jes_get_payload_length(data)) __builtin_trap();
    (void)sum;
  }
  if (size >= static_cast<size_t>(pel::JES_HEADER_SIZE)) {
    (void)pel::jes_get_header_length(data);
    (void)pel::jes_get_total_length(data);
    (void)pel::jes_get_payload_length(data);
  }

  // The builder over the input's first bytes as mode and server identifier.
  if (size >= 3) {
    uint8_t header[pel::JES_HEADER_SIZE];
    const int mode = data[0] & 15;
    if (pel::jes_build_audio_packet(header, mode, static_cast<uint16_t>(data[1] << 8 | data[2])) !=
        pel::JES_HEADER_SIZE) {
      __builtin_trap();
    }
    if ((header[0] >> 4) != 9 || header[1] != 0x58) __builtin_trap();
  }
  return 0;
}
