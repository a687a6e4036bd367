#include "JesBuilder.h"

#include <algorithm>

namespace kvsim {

namespace {

void Put16(std::string& out, std::size_t at, uint32_t value) {
  out[at] = static_cast<char>((value >> 8) & 0xFF);
  out[at + 1] = static_cast<char>(value & 0xFF);
}

void Put32(std::string& out, std::size_t at, uint32_t value) {
  Put16(out, at, value >> 16);
  Put16(out, at + 2, value & 0xFFFF);
}

}  // namespace

std::string BuildJesPacket(int mode, std::string_view payload) {
  std::string packet(kJesHeaderSize, '\0');
  packet[0] = static_cast<char>(0x90 | (mode & 0x0F));
  packet[1] = static_cast<char>(0x58);
  packet[2] = static_cast<char>(0xFF);
  packet[3] = static_cast<char>(0xFE);
  Put16(packet, 4, 56);
  const std::string_view marker = "Kelvanter";
  std::copy(marker.begin(), marker.end(), packet.begin() + 6);
  Put16(packet, 22, 1);
  Put16(packet, 24, 4096);
  Put16(packet, 30, 1);
  packet[45] = static_cast<char>(0xFF);
  Put32(packet, 48, static_cast<uint32_t>(kJesHeaderSize + payload.size()));
  packet[53] = 0x30;
  packet[54] = static_cast<char>(0xDF);
  packet.append(payload);
  return packet;
}

uint32_t JesTotalLength(std::string_view packet) {
  if (packet.size() < 52) return 0;
  uint32_t value = 0;
  for (std::size_t i = 48; i < 52; ++i) value = (value << 8) | static_cast<uint8_t>(packet[i]);
  return value;
}

std::string MakeRecord(uint8_t kind, uint8_t lengthByte, std::string_view data) {
  std::string record(kRecordSize, '\0');
  record[0] = static_cast<char>(kRecordMark);
  record[1] = static_cast<char>(kind);
  record[2] = static_cast<char>(lengthByte);
  const std::size_t n = std::min(data.size(), kRecordData);
  std::copy(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(n), record.begin() + 4);
  return record;
}

void ForEachRecord(std::string_view packet, const std::function<void(const std::string&)>& send) {
  for (std::size_t at = 0; at < packet.size(); at += kRecordData) {
    const std::size_t n = std::min(kRecordData, packet.size() - at);
    const bool last = at + n == packet.size();
    send(MakeRecord(last ? kKindLastFragment : kKindFragment, static_cast<uint8_t>(n),
                    packet.substr(at, n)));
  }
}

std::string CounterPayload(uint64_t n, std::size_t size) {
  std::string payload(size, '\0');
  for (std::size_t i = 0; i < size; ++i) {
    payload[i] =
        i < 4 ? static_cast<char>((n >> (8 * (3 - i))) & 0xFF) : static_cast<char>((n + i) & 0xFF);
  }
  return payload;
}

}  // namespace kvsim
