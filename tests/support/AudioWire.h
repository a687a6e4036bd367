#pragma once

// The audio protocol's bytes as tests expect them, written from the protocol's description
// rather than taken from the control's code.

#include <cstdint>
#include <string>
#include <vector>

namespace pel::test {

// A kvsim scenario's udp section around the given directives.
std::string UdpSection(const std::string& directives);

// A 68-byte record: 0x7E, kind, the length or status byte, 0, the data and zeros.
std::string WireRecord(int kind, int lengthByte, const std::string& data = "");

// The login record: user at bytes 4..35, password at 36..67, NUL-padded.
std::string WireLogin(const std::string& user, const std::string& password);

// The 60-byte header of an audio packet of codec mode `mode`.
std::string WireJesHeader(int mode, uint16_t serverId, uint32_t total);

// A whole packet as a server builds it around a payload (server identifier 0).
std::string WireJesPacket(int mode, const std::string& payload);

// The records a packet travels in: 64 data bytes each, kind 0, the last one kind 17.
std::vector<std::string> WireRecords(const std::string& packet);

}  // namespace pel::test
