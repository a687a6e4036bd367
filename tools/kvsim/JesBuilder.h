#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kvsim {

// The audio protocol as a server speaks it, written here from the protocol's description so
// that kvsim checks the control instead of agreeing with it.
constexpr std::size_t kRecordSize = 68;
constexpr std::size_t kRecordData = 64;
constexpr uint8_t kRecordMark = 0x7E;
constexpr uint8_t kKindFragment = 0;
constexpr uint8_t kKindLoginReply = 2;
constexpr uint8_t kKindLogout = 3;
constexpr uint8_t kKindLogoutAck = 4;
constexpr uint8_t kKindLogin = 6;
constexpr uint8_t kKindLastFragment = 17;
constexpr std::size_t kJesHeaderSize = 60;

// A Jes audio packet: the 60-byte header of codec mode `mode` (type byte 0x90 | mode, header
// length 56, total length 60 + payload) and the payload.
std::string BuildJesPacket(int mode, std::string_view payload);

// The total length field (offset 48) of a Jes packet; 0 for fewer than 52 bytes.
uint32_t JesTotalLength(std::string_view packet);

// A 68-byte record: 0x7E, kind, the length or status byte, 0, then data (at most 64 bytes)
// and zeros.
std::string MakeRecord(uint8_t kind, uint8_t lengthByte, std::string_view data = {});

// Cuts a packet into records of 64 data bytes (the last one shorter): kind 0, the last 17.
void ForEachRecord(std::string_view packet, const std::function<void(const std::string&)>& send);

// Payload number n of a counted stream: n as four big-endian bytes, then (n + i) & 255.
std::string CounterPayload(uint64_t n, std::size_t size);

}  // namespace kvsim
