#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Common/Jes/JesPacket.h"
#include "support/DiagnosticCapture.h"

namespace pel {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Header(const uint8_t* packet) { return Bytes(packet, packet + JES_HEADER_SIZE); }

// The header every packet starts from, byte for byte.
Bytes InitialHeader() {
  Bytes h(JES_HEADER_SIZE, 0);
  const uint8_t start[] = {0xFF, 0xD8, 0xFF, 0xFE, 0x00, 0x3C, 'K', 'e',
                           'l',  'v',  'a',  'n',  't',  'e',  'r'};
  std::memcpy(h.data(), start, sizeof start);
  h[23] = 1;     // word 22
  h[24] = 0x10;  // word 24 = 4096
  h[31] = 1;     // word 30
  h[45] = 0xFF;
  h[53] = 0x30;  // six bytes 00 30 DF 00 00 00
  h[54] = 0xDF;
  return h;
}

TEST(JesInit, WritesTheInitialHeaderOverAnyOldBytes) {
  uint8_t packet[JES_HEADER_SIZE + 4];
  std::memset(packet, 0xA5, sizeof packet);
  EXPECT_TRUE(jes_init(packet));
  EXPECT_EQ(Header(packet), InitialHeader());
  EXPECT_EQ(packet[JES_HEADER_SIZE], 0xA5);  // exactly 60 bytes cleared
  EXPECT_EQ(jes_get_header_length(packet), 60);
  EXPECT_EQ(jes_get_payload(packet), packet + 64);
  EXPECT_EQ(jes_get_total_length(packet), 0u);
}

struct AudioCase {
  int mode;
  uint8_t type;
  uint32_t total;
};

class JesAudioPacket : public ::testing::TestWithParam<AudioCase> {};

TEST_P(JesAudioPacket, HeaderIsExact) {
  const AudioCase& c = GetParam();
  uint8_t packet[JES_HEADER_SIZE];
  std::memset(packet, 0x77, sizeof packet);
  ASSERT_EQ(jes_build_audio_packet(packet, c.mode, 0x1234), 60);

  Bytes expected = InitialHeader();
  expected[0] = c.type;
  expected[1] = 0x58;
  expected[5] = 56;
  expected[28] = 0x12;
  expected[29] = 0x34;
  expected[48] = static_cast<uint8_t>(c.total >> 24);
  expected[49] = static_cast<uint8_t>(c.total >> 16);
  expected[50] = static_cast<uint8_t>(c.total >> 8);
  expected[51] = static_cast<uint8_t>(c.total);
  EXPECT_EQ(Header(packet), expected);
  EXPECT_EQ(jes_get_payload(packet), packet + 60);
  EXPECT_EQ(jes_get_payload_length(packet), static_cast<int64_t>(c.total) - 60);
}

INSTANTIATE_TEST_SUITE_P(Modes, JesAudioPacket,
                         ::testing::Values(AudioCase{1, 0x91, 3132}, AudioCase{2, 0x92, 1460},
                                           AudioCase{9, 0x99, 2172},
                                           // an unknown mode keeps type 9's byte and length 0
                                           AudioCase{5, 0x9F, 0}));

TEST(JesAudioPacket, ModeNineBytesAsTheServerSeesThem) {
  uint8_t packet[JES_HEADER_SIZE];
  ASSERT_EQ(jes_build_audio_packet(packet, 9, 7), 60);
  const uint8_t start[] = {0x99, 0x58, 0xFF, 0xFE, 0x00, 0x38};
  EXPECT_EQ(Bytes(packet, packet + 6), Bytes(start, start + 6));
  const uint8_t total[] = {0x00, 0x00, 0x08, 0x7C};
  EXPECT_EQ(Bytes(packet + 48, packet + 52), Bytes(total, total + 4));
}

TEST(JesSetters, TypeFlagAndNibbles) {
  uint8_t packet[JES_HEADER_SIZE];
  ASSERT_TRUE(jes_init(packet));
  EXPECT_TRUE(jes_set_type(packet, 9));
  EXPECT_EQ(packet[0], 0x9F);
  EXPECT_EQ(packet[1], 0xD8);
  EXPECT_TRUE(jes_set_type(packet, 0x23));  // only the low four bits count
  EXPECT_EQ(packet[0], 0x3F);
  EXPECT_TRUE(jes_set_type(packet, 10));
  EXPECT_EQ(packet[0], 0xA0);
  EXPECT_EQ(packet[1], 0x00);
  EXPECT_TRUE(jes_set_type(packet, 15));
  EXPECT_EQ(packet[0], 0xFF);
  EXPECT_EQ(packet[1], 0xD8);

  EXPECT_TRUE(jes_set_flag(packet, 1));
  EXPECT_EQ(packet[1], 0x58);
  EXPECT_TRUE(jes_set_flag(packet, 6));  // low two bits: 2
  EXPECT_EQ(packet[1], 0x98);

  uint8_t byte = 0;
  EXPECT_TRUE(jes_set_nibbles(&byte, 9, 0x1C));
  EXPECT_EQ(byte, 0x9C);
  EXPECT_TRUE(jes_set_audio_codec(packet, 2));
  EXPECT_EQ(packet[0], 0x92);
}

TEST(JesSetters, MarkerKeepsThirteenCharactersAndAZero) {
  uint8_t packet[JES_HEADER_SIZE];
  ASSERT_TRUE(jes_init(packet));
  EXPECT_TRUE(jes_set_marker(packet, "ABCDEFGHIJKLMNOPQ"));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(packet + 6), 14),
            std::string("ABCDEFGHIJKLM") + '\0');
  EXPECT_EQ(packet[20], 0);
  EXPECT_TRUE(jes_set_marker(packet, "ab"));
  EXPECT_EQ(Bytes(packet + 6, packet + 20), Bytes({'a', 'b', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_FALSE(jes_set_marker(packet, nullptr));
}

TEST(JesSetters, WordsAreBigEndian) {
  uint8_t packet[JES_HEADER_SIZE] = {};
  EXPECT_TRUE(jes_set_header_length(packet, 0x0102));
  EXPECT_TRUE(jes_set_word22(packet, 0x0304));
  EXPECT_TRUE(jes_set_word24(packet, 0x0506));
  EXPECT_TRUE(jes_set_word30(packet, 0x0708));
  const uint8_t six[] = {1, 2, 3, 4, 5, 6};
  EXPECT_TRUE(jes_set_six_bytes(packet, six));
  EXPECT_EQ(Bytes(packet + 4, packet + 6), Bytes({1, 2}));
  EXPECT_EQ(Bytes(packet + 22, packet + 26), Bytes({3, 4, 5, 6}));
  EXPECT_EQ(Bytes(packet + 30, packet + 32), Bytes({7, 8}));
  EXPECT_EQ(Bytes(packet + 52, packet + 58), Bytes(six, six + 6));
  EXPECT_EQ(jes_get_header_length(packet), 0x0102);
}

TEST(JesNullBuffer, SettersFailGettersAnswerZero) {
  uint8_t six[6] = {};
  EXPECT_FALSE(jes_set_type(nullptr, 9));
  EXPECT_FALSE(jes_set_nibbles(nullptr, 9, 1));
  EXPECT_FALSE(jes_set_audio_codec(nullptr, 1));
  EXPECT_FALSE(jes_set_flag(nullptr, 1));
  EXPECT_FALSE(jes_set_marker(nullptr, "x"));
  EXPECT_FALSE(jes_set_header_length(nullptr, 1));
  EXPECT_FALSE(jes_set_word22(nullptr, 1));
  EXPECT_FALSE(jes_set_word24(nullptr, 1));
  EXPECT_FALSE(jes_set_word30(nullptr, 1));
  EXPECT_FALSE(jes_set_six_bytes(nullptr, six));
  EXPECT_EQ(jes_get_header_length(nullptr), 0);
  EXPECT_EQ(jes_get_total_length(nullptr), 0u);
  EXPECT_EQ(jes_get_payload_length(nullptr), 0);
  EXPECT_EQ(jes_get_payload(static_cast<uint8_t*>(nullptr)), nullptr);
}

TEST(JesNullBuffer, InitAndBuilderWriteTheDiagnostic) {
  const test::DiagnosticCapture diagnostics;
  EXPECT_FALSE(jes_init(nullptr));
  const std::vector<std::string> lines = diagnostics.lines();
  ASSERT_EQ(lines.size(), 1u) << testing::PrintToString(lines);
  EXPECT_EQ(lines[0].rfind("[Common/Jes/JesPacket(", 0), 0u) << lines[0];
  EXPECT_THAT(lines[0], testing::EndsWith(")]\tjes packet is NULL"));

  EXPECT_EQ(jes_build_audio_packet(nullptr, 1, 1), 0);
  EXPECT_EQ(diagnostics.Count("jes packet is NULL"), 2u) << testing::PrintToString(diagnostics.lines());
}

// A received packet: header length 56 and total length 2172 put 2112 payload bytes at 60.
TEST(JesPayloadIn, FindsThePayloadOfAWholePacket) {
  Bytes packet(2172, 0);
  ASSERT_EQ(jes_build_audio_packet(packet.data(), 9, 1), 60);
  const uint8_t* payload = nullptr;
  size_t length = 0;
  ASSERT_TRUE(jes_payload_in(packet.data(), packet.size(), &payload, &length));
  EXPECT_EQ(payload, packet.data() + 60);
  EXPECT_EQ(length, 2112u);
}

TEST(JesPayloadIn, RefusesLengthsOutsideTheReceivedBytes) {
  Bytes packet(6144, 0);
  ASSERT_EQ(jes_build_audio_packet(packet.data(), 9, 1), 60);
  const uint8_t* payload = nullptr;
  size_t length = 0;
  // fewer bytes received than the total length claims
  EXPECT_FALSE(jes_payload_in(packet.data(), 2171, &payload, &length));
  // a header length that reaches past the total length
  jes_set_header_length(packet.data(), 3000);
  EXPECT_FALSE(jes_payload_in(packet.data(), packet.size(), &payload, &length));
  // too short to hold the total length field
  jes_set_header_length(packet.data(), 56);
  EXPECT_FALSE(jes_payload_in(packet.data(), 51, &payload, &length));
  // a total length far past the buffer
  packet[48] = 0xFF;
  EXPECT_FALSE(jes_payload_in(packet.data(), packet.size(), &payload, &length));
  EXPECT_EQ(payload, nullptr);
  EXPECT_FALSE(jes_payload_in(nullptr, 100, &payload, &length));
}

TEST(JesPayloadIn, AcceptsAnEmptyPayloadAtTheEnd) {
  Bytes packet(64, 0);
  ASSERT_TRUE(jes_init(packet.data()));  // header length 60: payload at 64
  packet[51] = 64;                       // total length 64
  const uint8_t* payload = nullptr;
  size_t length = 1;
  ASSERT_TRUE(jes_payload_in(packet.data(), packet.size(), &payload, &length));
  EXPECT_EQ(payload, packet.data() + 64);
  EXPECT_EQ(length, 0u);
  EXPECT_EQ(jes_get_payload_length(packet.data()), 0);
}

TEST(JesGetters, PayloadLengthCanBeNegative) {
  uint8_t packet[JES_HEADER_SIZE];
  ASSERT_TRUE(jes_init(packet));
  EXPECT_EQ(jes_get_payload_length(packet), -64);
}

}  // namespace
}  // namespace pel
