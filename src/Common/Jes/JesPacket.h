#pragma once

// The Jes packet: a 60-byte big-endian header that frames every audio payload. Plain
// functions over a caller-owned buffer of at least 60 bytes; they allocate nothing. Each
// takes the buffer first and does nothing when it is null: setters then answer false,
// getters 0.

#include <cstddef>
#include <cstdint>

namespace pel {

constexpr int JES_HEADER_SIZE = 60;
constexpr int JES_MARKER_SIZE = 14;  // at most 13 characters and a terminating zero

// Clears the header and writes the initial values: FF D8 FF FE, header length 60, the marker
// "Kelvanter", words 1 at 22, 4096 at 24, 1 at 30, FF at 45 and 00 30 DF 00 00 00 at 52.
bool jes_init(uint8_t* packet);

// Type 15: bytes 0-1 FF D8; type 10: A0 00; any other type: its low four bits become the
// high nibble of byte 0.
bool jes_set_type(uint8_t* packet, int type);
// The byte becomes (high << 4) | (low & 15).
bool jes_set_nibbles(uint8_t* byte, int high, int low);
// Byte 0 becomes 0x90 | mode.
bool jes_set_audio_codec(uint8_t* packet, int mode);
// Bits 7-6 of byte 1 become the value's low two bits.
bool jes_set_flag(uint8_t* packet, int value);
// At most 13 characters at offset 6, the rest of the 14 bytes zero.
bool jes_set_marker(uint8_t* packet, const char* text);
bool jes_set_header_length(uint8_t* packet, uint16_t value);
bool jes_set_word22(uint8_t* packet, uint16_t value);
bool jes_set_word24(uint8_t* packet, uint16_t value);
bool jes_set_word30(uint8_t* packet, uint16_t value);
bool jes_set_six_bytes(uint8_t* packet, const uint8_t* bytes);

uint16_t jes_get_header_length(const uint8_t* packet);
uint32_t jes_get_total_length(const uint8_t* packet);
// Total length - 4 - header length; negative when the header says so.
int64_t jes_get_payload_length(const uint8_t* packet);
// The packet start + 4 + header length. Trusts the header: for a received packet use
// jes_payload_in.
uint8_t* jes_get_payload(uint8_t* packet);
const uint8_t* jes_get_payload(const uint8_t* packet);

// Builds the header of an audio packet for codec mode 1, 2 or 9 and the server identifier.
// Answers 60, the offset of the payload, or 0 for a null buffer. For other modes the type
// and total length stay as jes_init left them.
int jes_build_audio_packet(uint8_t* packet, int codecMode, uint16_t serverId);

// The payload of a received packet of `received` bytes: true only when the header length
// and the total length describe bytes inside those received.
bool jes_payload_in(const uint8_t* packet, size_t received, const uint8_t** payload,
                    size_t* length);

}  // namespace pel
