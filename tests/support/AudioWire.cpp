#include "support/AudioWire.h"

#include <algorithm>

namespace pel::test {

std::string UdpSection(const std::string& directives) { return "udp\n" + directives + "end\n"; }

std::string WireRecord(int kind, int lengthByte, const std::string& data) {
  std::string record(68, '\0');
  record[0] = 0x7E;
  record[1] = static_cast<char>(kind);
  record[2] = static_cast<char>(lengthByte);
  record.replace(4, data.size(), data);
  return record;
}

std::string WireLogin(const std::string& user, const std::string& password) {
  return std::string("\x7E\x06\x00\x00", 4) + user + std::string(32 - user.size(), '\0') +
         password + std::string(32 - password.size(), '\0');
}

std::string WireJesHeader(int mode, uint16_t serverId, uint32_t total) {
  std::string h(60, '\0');
  h[0] = static_cast<char>(0x90 | mode);
  h[1] = 0x58;
  h[2] = static_cast<char>(0xFF);
  h[3] = static_cast<char>(0xFE);
  h[5] = 56;
  h.replace(6, 9, "Kelvanter");
  h[23] = 1;
  h[24] = 0x10;
  h[28] = static_cast<char>(serverId >> 8);
  h[29] = static_cast<char>(serverId & 0xFF);
  h[31] = 1;
  h[45] = static_cast<char>(0xFF);
  for (int i = 0; i < 4; ++i) h[48 + i] = static_cast<char>((total >> (24 - 8 * i)) & 0xFF);
  h[53] = 0x30;
  h[54] = static_cast<char>(0xDF);
  return h;
}

std::string WireJesPacket(int mode, const std::string& payload) {
  return WireJesHeader(mode, 0, static_cast<uint32_t>(60 + payload.size())) + payload;
}

std::vector<std::string> WireRecords(const std::string& packet) {
  std::vector<std::string> records;
  for (size_t at = 0; at < packet.size(); at += 64) {
    const size_t n = std::min<size_t>(64, packet.size() - at);
    records.push_back(
        WireRecord(at + n == packet.size() ? 17 : 0, static_cast<int>(n), packet.substr(at, n)));
  }
  return records;
}

}  // namespace pel::test
