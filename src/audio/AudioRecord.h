#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace pel {

// The 68-byte control record of the audio protocol: 0x7E, a kind, a length or status byte,
// a zero byte and 64 bytes of data.
constexpr size_t kAudioRecordSize = 68;
constexpr size_t kAudioRecordData = 64;
constexpr size_t kAudioRecordHeader = 4;
constexpr uint8_t kAudioRecordMark = 0x7E;

// Record kinds.
constexpr uint8_t kRecordFragment = 0;       // server: audio fragment, more follow
constexpr uint8_t kRecordLoginReply = 2;     // server: byte 2 is 1 when accepted
constexpr uint8_t kRecordLogout = 3;         // client
constexpr uint8_t kRecordLogoutAck = 4;      // server
constexpr uint8_t kRecordLogin = 6;          // client: user and password
constexpr uint8_t kRecordLastFragment = 17;  // server: last fragment of a Jes packet

// Longest user name or password the login record holds (each field keeps a NUL).
constexpr size_t kLoginFieldChars = 31;

using AudioRecord = std::array<uint8_t, kAudioRecordSize>;

// Login: the user name at bytes 4..35 and the password at 36..67, each cut to 31 characters
// and NUL-terminated; every other byte zero. Null texts count as empty.
AudioRecord MakeLoginRecord(const char* user, const char* password);

// Logout: 0x7E, 3 and zeros.
AudioRecord MakeLogoutRecord();

}  // namespace pel
