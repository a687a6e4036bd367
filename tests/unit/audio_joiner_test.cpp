// Joining the server's 68-byte records into Jes packets, without a network.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/AudioPacketJoiner.h"
#include "support/DiagnosticCapture.h"

namespace pel {
namespace {

using Bytes = std::vector<uint8_t>;

// A Jes packet as a server builds it: header length 56 at offset 4, total length at 48.
Bytes Packet(size_t payload, uint8_t seed, uint32_t total = 0, uint16_t headerLength = 56) {
  Bytes packet(60 + payload);
  packet[0] = 0x92;
  packet[1] = 0x58;
  packet[4] = static_cast<uint8_t>(headerLength >> 8);
  packet[5] = static_cast<uint8_t>(headerLength);
  if (total == 0) total = static_cast<uint32_t>(packet.size());
  for (int i = 0; i < 4; ++i) packet[48 + i] = static_cast<uint8_t>(total >> (24 - 8 * i));
  for (size_t i = 0; i < payload; ++i) packet[60 + i] = static_cast<uint8_t>(seed + i);
  return packet;
}

Bytes Record(uint8_t kind, uint8_t length, const uint8_t* data, size_t count) {
  Bytes record(68, 0);
  record[0] = 0x7E;
  record[1] = kind;
  record[2] = length;
  for (size_t i = 0; i < count && i < 64; ++i) record[4 + i] = data[i];
  return record;
}

// Cuts a packet into records of `chunk` bytes, kind 0 and the last 17.
std::vector<Bytes> Cut(const Bytes& packet, size_t chunk = 64) {
  std::vector<Bytes> records;
  for (size_t at = 0; at < packet.size(); at += chunk) {
    const size_t n = std::min(chunk, packet.size() - at);
    const bool last = at + n == packet.size();
    records.push_back(Record(last ? 17 : 0, static_cast<uint8_t>(n), packet.data() + at, n));
  }
  return records;
}

// Feeds every record; the payload of each packet delivered.
std::vector<Bytes> Feed(AudioPacketJoiner& joiner, const std::vector<Bytes>& records) {
  std::vector<Bytes> delivered;
  for (const Bytes& record : records) {
    if (joiner.Add(record.data(), record.size()) != AudioPacketJoiner::Step::kPacket) continue;
    const uint8_t* payload = nullptr;
    size_t length = 0;
    if (joiner.TakePacket(&payload, &length)) delivered.emplace_back(payload, payload + length);
  }
  return delivered;
}

Bytes PayloadOf(const Bytes& packet) { return Bytes(packet.begin() + 60, packet.end()); }

TEST(AudioPacketJoiner, FragmentsOf64And64And20MakeOne148BytePacket) {
  AudioPacketJoiner joiner;
  ASSERT_TRUE(joiner.Ready());
  const Bytes packet = Packet(88, 1);
  const auto records = Cut(packet);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[2][2], 20);
  EXPECT_EQ(joiner.Add(records[0].data(), 68), AudioPacketJoiner::Step::kNone);
  EXPECT_EQ(joiner.Add(records[1].data(), 68), AudioPacketJoiner::Step::kNone);
  EXPECT_EQ(joiner.Joined(), 128u);
  EXPECT_EQ(joiner.Add(records[2].data(), 68), AudioPacketJoiner::Step::kPacket);
  EXPECT_EQ(joiner.Joined(), 148u);
  const uint8_t* payload = nullptr;
  size_t length = 0;
  ASSERT_TRUE(joiner.TakePacket(&payload, &length));
  EXPECT_EQ(Bytes(payload, payload + length), PayloadOf(packet));
  EXPECT_EQ(joiner.Joined(), 0u);
  EXPECT_FALSE(joiner.TakePacket(&payload, &length)) << "nothing joined";
}

TEST(AudioPacketJoiner, PacketsFollowOneAnother) {
  AudioPacketJoiner joiner;
  std::vector<Bytes> records;
  std::vector<Bytes> expected;
  for (uint8_t i = 0; i < 5; ++i) {
    const Bytes packet = Packet(1400 - 300 * i, i);
    expected.push_back(PayloadOf(packet));
    for (const Bytes& r : Cut(packet, 64 - 9 * i)) records.push_back(r);
  }
  EXPECT_EQ(Feed(joiner, records), expected);
}

TEST(AudioPacketJoiner, LengthByteOver64TakesOnlyTheRecordsData) {
  AudioPacketJoiner joiner;
  const Bytes packet = Packet(68, 3);  // 128 bytes: two full records
  auto records = Cut(packet);
  ASSERT_EQ(records.size(), 2u);
  records[1][2] = 200;
  EXPECT_EQ(Feed(joiner, records), std::vector<Bytes>{PayloadOf(packet)});
  records[0][2] = 255;  // a fragment that claims more: still 64
  EXPECT_EQ(Feed(joiner, records), std::vector<Bytes>{PayloadOf(packet)});
}

TEST(AudioPacketJoiner, ShortDatagramsGiveOnlyTheBytesThatCame) {
  AudioPacketJoiner joiner;
  const Bytes packet = Packet(4, 5);  // 64 bytes
  Bytes first = Record(0, 64, packet.data(), 30);
  first.resize(34);  // 30 data bytes arrived although 64 are announced
  Bytes second = Record(17, 34, packet.data() + 30, 34);
  joiner.Add(first.data(), first.size());
  EXPECT_EQ(joiner.Joined(), 30u);
  ASSERT_EQ(joiner.Add(second.data(), second.size()), AudioPacketJoiner::Step::kPacket);
  const uint8_t* payload = nullptr;
  size_t length = 0;
  ASSERT_TRUE(joiner.TakePacket(&payload, &length));
  EXPECT_EQ(Bytes(payload, payload + length), PayloadOf(packet));
  // Too short to be a record at all.
  EXPECT_EQ(joiner.Add(first.data(), 3), AudioPacketJoiner::Step::kNone);
  EXPECT_EQ(joiner.Joined(), 0u);
}

TEST(AudioPacketJoiner, HeadersThatDoNotFitAreDropped) {
  struct Case {
    uint32_t total;
    uint16_t headerLength;
  };
  // Total beyond the joined bytes; header length beyond the total; total below the header.
  for (const Case& c :
       {Case{5000, 56}, Case{0xFFFFFFFF, 56}, Case{148, 200}, Case{148, 0xFFFF}, Case{40, 56}}) {
    AudioPacketJoiner joiner;
    const Bytes bad = Packet(88, 1, c.total, c.headerLength);
    const Bytes good = Packet(100, 9);
    std::vector<Bytes> records = Cut(bad);
    for (const Bytes& r : Cut(good)) records.push_back(r);
    const test::DiagnosticCapture diagnostics;
    const auto delivered = Feed(joiner, records);
    EXPECT_EQ(delivered, std::vector<Bytes>{PayloadOf(good)}) << c.total << " " << c.headerLength;
    EXPECT_GE(diagnostics.Count("Drop audio packet"), 1u)
        << testing::PrintToString(diagnostics.lines());
  }
  // Fewer bytes than a header.
  AudioPacketJoiner joiner;
  const Bytes tiny(20, 0x11);
  EXPECT_TRUE(Feed(joiner, Cut(tiny)).empty());
}

TEST(AudioPacketJoiner, BytesPast6144AreCountedNotStored) {
  AudioPacketJoiner joiner;
  // A packet whose header describes 6000 bytes, followed by fragments up to 8000 bytes.
  Bytes packet = Packet(8000 - 60, 2, 6000);
  const auto records = Cut(packet);
  ASSERT_EQ(Feed(joiner, records).size(), 1u);
  for (size_t i = 0; i + 1 < records.size(); ++i) joiner.Add(records[i].data(), 68);
  EXPECT_EQ(joiner.Joined(), 8000u - records.back()[2]);

  // A header that describes more than what was stored is dropped, even though more came.
  AudioPacketJoiner other;
  const Bytes big = Packet(7000 - 60, 3);  // total 7000 > the stored 6144 + a part record
  EXPECT_TRUE(Feed(other, Cut(big)).empty());
  // Storing stops at the first record that starts at 6144 or later: with 64-byte records
  // exactly 6144 bytes are kept, with 60-byte ones the record that crosses 6144 is kept whole.
  const Bytes over = Packet(6144 + 4 - 60, 4);
  EXPECT_TRUE(Feed(other, Cut(over)).empty());
  const Bytes crossing = Packet(6180 - 60, 5);
  EXPECT_EQ(Feed(other, Cut(crossing, 60)), std::vector<Bytes>{PayloadOf(crossing)});
}

TEST(AudioPacketJoiner, OtherRecordsAndLogout) {
  AudioPacketJoiner joiner;
  const uint8_t data[4] = {1, 2, 3, 4};
  Bytes notOurs = Record(0, 4, data, 4);
  notOurs[0] = 0x7D;
  EXPECT_EQ(joiner.Add(notOurs.data(), 68), AudioPacketJoiner::Step::kNone);
  for (uint8_t kind : {1, 2, 3, 5, 6, 16, 18, 255}) {
    const Bytes other = Record(kind, 4, data, 4);
    EXPECT_EQ(joiner.Add(other.data(), 68), AudioPacketJoiner::Step::kNone) << int(kind);
  }
  EXPECT_EQ(joiner.Joined(), 0u);
  const Bytes logout = Record(4, 0, nullptr, 0);
  EXPECT_EQ(joiner.Add(logout.data(), 68), AudioPacketJoiner::Step::kLogoutAck);
  EXPECT_EQ(joiner.Add(nullptr, 68), AudioPacketJoiner::Step::kNone);
  // A last fragment of no bytes still ends a packet.
  const Bytes empty = Record(17, 0, nullptr, 0);
  EXPECT_EQ(joiner.Add(empty.data(), 68), AudioPacketJoiner::Step::kPacket);
}

}  // namespace
}  // namespace pel
