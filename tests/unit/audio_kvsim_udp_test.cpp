// kvsim's UDP audio side, checked with a plain UDP socket: login answers, the records it cuts
// packets into, its steps and pace, logout, echo, what it records, and its scenario errors.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "support/AudioWire.h"
#include "support/Kvsim.h"
#include "support/LoopbackClient.h"
#include "support/LoopbackUdp.h"
#include "support/TestEnv.h"

namespace pel::test {
namespace {

using Clock = std::chrono::steady_clock;

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out += static_cast<char>(v);
  return out;
}

std::string Counter(uint32_t n, size_t size) {
  std::string payload(size, '\0');
  for (size_t i = 0; i < size; ++i) {
    payload[i] =
        i < 4 ? static_cast<char>((n >> (8 * (3 - i))) & 0xFF) : static_cast<char>((n + i) & 0xFF);
  }
  return payload;
}

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A file of the test's own, gone when the object goes.
class TempFile {
 public:
  explicit TempFile(const std::string& bytes) {
    static int counter = 0;
    path_ = "/tmp/pel_audio_kvsim_" + std::to_string(Clock::now().time_since_epoch().count()) +
            "_" + std::to_string(counter++);
    std::ofstream(HostPath(path_), std::ios::binary) << bytes;
  }
  ~TempFile() { std::remove(HostPath(path_).c_str()); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

TEST(KvsimUdp, LoadTellsTheUdpPortOnlyWithAUdpSection) {
  KvsimScenario plain("route /x\n");
  EXPECT_NE(plain.port(), 0);
  EXPECT_EQ(plain.udpPort(), 0);
  EXPECT_TRUE(plain.datagrams().empty());
  KvsimScenario withUdp("route /x\n" + UdpSection(""));
  EXPECT_NE(withUdp.udpPort(), 0);
  EXPECT_NE(withUdp.udpPort(), withUdp.port());
}

TEST(KvsimUdp, LoginAnswers) {
  struct Case {
    std::string section;
    std::string user;
    std::string expected;  // empty: no answer
  };
  const std::vector<Case> cases = {
      {"user demo:pw\nuser root:\n", "demo", WireRecord(2, 1)},
      {"user demo:pw\nuser root:\n", "root", WireRecord(2, 1)},
      {"user demo:pw\n", "other", WireRecord(2, 0)},
      {"user demo:other\nlogin deny 9\n", "demo", WireRecord(2, 9)},
      {"", "anyone", WireRecord(2, 1)},
      {"user demo:x\nlogin accept\n", "anyone", WireRecord(2, 1)},
      {"login deny\n", "demo", WireRecord(2, 0)},
      {"login wrong-kind\n", "demo", WireRecord(5, 1)},
      {"login wrong-mark\n", "demo", "X" + WireRecord(2, 1).substr(1)},
      {"login silent\n", "demo", ""},
  };
  for (const Case& c : cases) {
    KvsimScenario kv(UdpSection(c.section));
    LoopbackUdp client;
    ASSERT_TRUE(client.sendTo(kv.udpPort(), WireLogin(c.user, c.user == "root" ? "" : "pw")));
    auto answer = client.receive(c.expected.empty() ? 300 : 3000);
    if (c.expected.empty()) {
      EXPECT_FALSE(answer.has_value()) << c.section;
    } else {
      ASSERT_TRUE(answer.has_value()) << c.section;
      EXPECT_EQ(*answer, c.expected) << c.section << c.user;
    }
    EXPECT_EQ(kv.waitForDatagrams(1).size(), 1u);
  }
}

TEST(KvsimUdp, PacketsAreCutIntoRecordsAfterTheLoginReply) {
  KvsimScenario kv(
      UdpSection("mode 9\nsend-payload " + std::string(260, '7') + "\nmode 1\nsend-counter 2 8\n"));
  LoopbackUdp client;
  ASSERT_TRUE(client.sendTo(kv.udpPort(), WireLogin("a", "b")));
  const auto got = client.receiveUntilQuiet(500);
  std::vector<std::string> expected{WireRecord(2, 1)};
  expected = Join(expected, WireRecords(WireJesPacket(9, std::string(130, 'w'))));
  expected = Join(expected, WireRecords(WireJesPacket(1, Counter(0, 8))));
  expected = Join(expected, WireRecords(WireJesPacket(1, Counter(1, 8))));
  ASSERT_EQ(got.size(), expected.size());
  for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i], expected[i]) << i;
  EXPECT_EQ(got[3][1], 17);  // 190 bytes: 64 + 64 + 62
  EXPECT_EQ(got[3][2], 62);
}

TEST(KvsimUdp, RecordsGarbageAndAnUnaskedLogoutAcknowledgement) {
  KvsimScenario kv(UdpSection("record 17 200 0102\ngarbage 101\nlogout-ack\n"));
  LoopbackUdp client;
  ASSERT_TRUE(client.sendTo(kv.udpPort(), WireLogin("a", "b")));
  const auto got = client.receiveUntilQuiet(500);
  ASSERT_EQ(got.size(), 1u + 1 + 101 + 1);
  EXPECT_EQ(got[1], WireRecord(17, 200, Bytes({1, 2})));
  for (size_t k = 0; k < 101; ++k) {
    const std::string& garbage = got[2 + k];
    EXPECT_EQ(garbage.size(), k % 100) << k;
    if (!garbage.empty()) {
      EXPECT_NE(static_cast<uint8_t>(garbage[0]), 0x7E) << k;
    }
  }
  EXPECT_EQ(got.back(), WireRecord(4, 0));
}

TEST(KvsimUdp, FilesOfPayloadsAndOfPackets) {
  std::string payloads;
  for (int i = 0; i < 250; ++i) payloads += static_cast<char>(i);
  TempFile payloadFile(payloads);
  const std::string packetA = WireJesPacket(2, "first");
  const std::string packetB = WireJesPacket(9, std::string(70, 'x'));
  TempFile packetFile(packetA + packetB);
  KvsimScenario kv(UdpSection("send-payload-file " + payloadFile.path() +
                              " 100 2\nsend-packet-file " + packetFile.path() + "\n"));
  ASSERT_NE(kv.udpPort(), 0);
  LoopbackUdp client;
  ASSERT_TRUE(client.sendTo(kv.udpPort(), WireLogin("a", "b")));
  const auto got = client.receiveUntilQuiet(500);
  std::vector<std::string> expected{WireRecord(2, 1)};
  for (int pass = 0; pass < 2; ++pass) {
    for (size_t at = 0; at < payloads.size(); at += 100) {
      expected = Join(expected, WireRecords(WireJesPacket(2, payloads.substr(at, 100))));
    }
  }
  expected = Join(expected, WireRecords(packetA));
  expected = Join(expected, WireRecords(packetB));
  EXPECT_EQ(got, expected);
}

TEST(KvsimUdp, PaceSpreadsTheDatagrams) {
  KvsimScenario kv(UdpSection("pace 1000\ngarbage 300\n"));
  LoopbackUdp client;
  const auto start = Clock::now();
  ASSERT_TRUE(client.sendTo(kv.udpPort(), WireLogin("a", "b")));
  const auto got = client.receiveUntilQuiet(400);
  const auto took = Clock::now() - start - std::chrono::milliseconds(400);
  EXPECT_EQ(got.size(), 301u);
  EXPECT_GE(took, std::chrono::milliseconds(250)) << "300 datagrams at 1000 a second";
  EXPECT_LT(took, std::chrono::milliseconds(2000));
}

TEST(KvsimUdp, LogoutIsAcknowledgedAndEndsTheSession) {
  KvsimScenario kv(UdpSection("pace 100\ngarbage 1000\n"));
  LoopbackUdp client;
  ASSERT_TRUE(client.sendTo(kv.udpPort(), WireLogin("a", "b")));
  ASSERT_EQ(client.receive(2000), WireRecord(2, 1));
  ASSERT_TRUE(client.receive(2000).has_value());
  ASSERT_TRUE(client.sendTo(kv.udpPort(), WireRecord(3, 0)));
  // The acknowledgement comes among the last garbage; then nothing more.
  const auto rest = client.receiveUntilQuiet(400);
  ASSERT_FALSE(rest.empty());
  EXPECT_LT(rest.size(), 10u);
  EXPECT_NE(std::find(rest.begin(), rest.end(), WireRecord(4, 0)), rest.end());

  KvsimScenario silent(UdpSection("logout silent\n"));
  ASSERT_TRUE(client.sendTo(silent.udpPort(), WireRecord(3, 0)));
  EXPECT_FALSE(client.receive(300).has_value());
}

TEST(KvsimUdp, EchoesWhatTheClientSends) {
  KvsimScenario kv(UdpSection("echo\n"));
  LoopbackUdp client;
  ASSERT_TRUE(client.sendTo(kv.udpPort(), WireLogin("a", "b")));
  ASSERT_EQ(client.receive(2000), WireRecord(2, 1));
  const std::string packet = WireJesPacket(2, std::string(1400, 'e'));
  ASSERT_TRUE(client.sendTo(kv.udpPort(), packet));
  EXPECT_EQ(client.receiveUntilQuiet(300), WireRecords(packet));
}

TEST(KvsimUdp, RecordsEveryDatagramInOrderUntilCleared) {
  KvsimScenario kv(UdpSection("login silent\n"));
  LoopbackUdp one;
  LoopbackUdp two;
  ASSERT_TRUE(one.sendTo(kv.udpPort(), "first"));
  ASSERT_TRUE(two.sendTo(kv.udpPort(), std::string("\0\x7E", 2)));
  ASSERT_TRUE(one.sendTo(kv.udpPort(), ""));
  ASSERT_TRUE(two.sendTo(kv.udpPort(), WireLogin("u", "p")));
  EXPECT_EQ(kv.waitForDatagrams(4),
            (std::vector<std::string>{"first", std::string("\0\x7E", 2), "", WireLogin("u", "p")}));
  kv.clearRequests();
  EXPECT_TRUE(kv.datagrams().empty());
}

TEST(KvsimUdp, ScenarioErrorsNameTheLine) {
  const int control = KvsimControlPort();
  ASSERT_NE(control, 0);
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"udp\nuser demo\nend\n", "ERR line 2: 'user' needs NAME:PASSWORD\n"},
      {"route /a\nudp\n  frobnicate 1\nend\n", "ERR line 3: unknown udp directive 'frobnicate'\n"},
      {"udp\nsend-payload 0g\nend\n",
       "ERR line 2: 'send-payload' needs hexadecimal byte pairs (at most 65000 bytes)\n"},
      {"udp\necho\nwait 5\nend\n", "ERR line 3: nothing runs after 'echo' (line 2)\n"},
      {"udp\nlogin deny 1\nend\n",
       "ERR line 2: only 'login deny' takes a value, a status 0..255 other than 1\n"},
      {"udp\nsend-packet-file /nonexistent/file\nend\n",
       "ERR line 2: cannot read '/nonexistent/file'\n"},
      {"udp\nend\nudp\nend\n", "ERR line 3: 'udp' already given at line 1\n"},
      {"udp\npace 10\n", "ERR line 1: 'udp' section has no closing 'end' line\n"},
  };
  for (const auto& [scenario, error] : cases) {
    EXPECT_EQ(
        ExchangeWithLoopback(control, "LOAD " + std::to_string(scenario.size()) + "\n" + scenario),
        error)
        << scenario;
  }
}

}  // namespace
}  // namespace pel::test
