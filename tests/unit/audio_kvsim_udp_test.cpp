// kvsim's UDP audio side, checked with a plain UDP socket: login answers, the records it cuts
// packets into, its steps and pace, logout, echo, what it records, and its scenario errors.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "support/Kvsim.h"
#include "support/LoopbackClient.h"
#include "support/LoopbackUdp.h"
#include "support/TestEnv.h"

namespace pel::test {
namespace {

using Clock = std::chrono::steady_clock;

std::string Udp(const std::string& section) { return "udp\n" + section + "end\n"; }

std::string Login(const std::string& user, const std::string& password) {
  return std::string("\x7E\x06\x00\x00", 4) + user + std::string(32 - user.size(), '\0') +
         password + std::string(32 - password.size(), '\0');
}

std::string Record(int kind, int lengthByte, const std::string& data = "") {
  std::string record(68, '\0');
  record[0] = 0x7E;
  record[1] = static_cast<char>(kind);
  record[2] = static_cast<char>(lengthByte);
  record.replace(4, data.size(), data);
  return record;
}

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out += static_cast<char>(v);
  return out;
}

// The Jes packet kvsim must build for a payload in codec mode `mode`.
std::string JesPacket(int mode, const std::string& payload) {
  std::string h(60, '\0');
  h[0] = static_cast<char>(0x90 | mode);
  h[1] = 0x58;
  h[2] = static_cast<char>(0xFF);
  h[3] = static_cast<char>(0xFE);
  h[5] = 56;
  h.replace(6, 9, "Kelvanter");
  h[23] = 1;
  h[24] = 0x10;
  h[31] = 1;
  h[45] = static_cast<char>(0xFF);
  const size_t total = 60 + payload.size();
  h[50] = static_cast<char>(total >> 8);
  h[51] = static_cast<char>(total & 0xFF);
  h[53] = 0x30;
  h[54] = static_cast<char>(0xDF);
  return h + payload;
}

// The records a packet is sent as.
std::vector<std::string> Records(const std::string& packet) {
  std::vector<std::string> records;
  for (size_t at = 0; at < packet.size(); at += 64) {
    const size_t n = std::min<size_t>(64, packet.size() - at);
    records.push_back(
        Record(at + n == packet.size() ? 17 : 0, static_cast<int>(n), packet.substr(at, n)));
  }
  return records;
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
  KvsimScenario withUdp("route /x\n" + Udp(""));
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
      {"user demo:pw\nuser root:\n", "demo", Record(2, 1)},
      {"user demo:pw\nuser root:\n", "root", Record(2, 1)},
      {"user demo:pw\n", "other", Record(2, 0)},
      {"user demo:other\nlogin deny 9\n", "demo", Record(2, 9)},
      {"", "anyone", Record(2, 1)},
      {"user demo:x\nlogin accept\n", "anyone", Record(2, 1)},
      {"login deny\n", "demo", Record(2, 0)},
      {"login wrong-kind\n", "demo", Record(5, 1)},
      {"login wrong-mark\n", "demo", "X" + Record(2, 1).substr(1)},
      {"login silent\n", "demo", ""},
  };
  for (const Case& c : cases) {
    KvsimScenario kv(Udp(c.section));
    LoopbackUdp client;
    ASSERT_TRUE(client.sendTo(kv.udpPort(), Login(c.user, c.user == "root" ? "" : "pw")));
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
      Udp("mode 9\nsend-payload " + std::string(260, '7') + "\nmode 1\nsend-counter 2 8\n"));
  LoopbackUdp client;
  ASSERT_TRUE(client.sendTo(kv.udpPort(), Login("a", "b")));
  const auto got = client.receiveUntilQuiet(500);
  std::vector<std::string> expected{Record(2, 1)};
  expected = Join(expected, Records(JesPacket(9, std::string(130, 'w'))));
  expected = Join(expected, Records(JesPacket(1, Counter(0, 8))));
  expected = Join(expected, Records(JesPacket(1, Counter(1, 8))));
  ASSERT_EQ(got.size(), expected.size());
  for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i], expected[i]) << i;
  EXPECT_EQ(got[3][1], 17);  // 190 bytes: 64 + 64 + 62
  EXPECT_EQ(got[3][2], 62);
}

TEST(KvsimUdp, RecordsGarbageAndAnUnaskedLogoutAcknowledgement) {
  KvsimScenario kv(Udp("record 17 200 0102\ngarbage 101\nlogout-ack\n"));
  LoopbackUdp client;
  ASSERT_TRUE(client.sendTo(kv.udpPort(), Login("a", "b")));
  const auto got = client.receiveUntilQuiet(500);
  ASSERT_EQ(got.size(), 1u + 1 + 101 + 1);
  EXPECT_EQ(got[1], Record(17, 200, Bytes({1, 2})));
  for (size_t k = 0; k < 101; ++k) {
    const std::string& garbage = got[2 + k];
    EXPECT_EQ(garbage.size(), k % 100) << k;
    if (!garbage.empty()) {
      EXPECT_NE(static_cast<uint8_t>(garbage[0]), 0x7E) << k;
    }
  }
  EXPECT_EQ(got.back(), Record(4, 0));
}

TEST(KvsimUdp, FilesOfPayloadsAndOfPackets) {
  std::string payloads;
  for (int i = 0; i < 250; ++i) payloads += static_cast<char>(i);
  TempFile payloadFile(payloads);
  const std::string packetA = JesPacket(2, "first");
  const std::string packetB = JesPacket(9, std::string(70, 'x'));
  TempFile packetFile(packetA + packetB);
  KvsimScenario kv(Udp("send-payload-file " + payloadFile.path() + " 100 2\nsend-packet-file " +
                       packetFile.path() + "\n"));
  ASSERT_NE(kv.udpPort(), 0);
  LoopbackUdp client;
  ASSERT_TRUE(client.sendTo(kv.udpPort(), Login("a", "b")));
  const auto got = client.receiveUntilQuiet(500);
  std::vector<std::string> expected{Record(2, 1)};
  for (int pass = 0; pass < 2; ++pass) {
    for (size_t at = 0; at < payloads.size(); at += 100) {
      expected = Join(expected, Records(JesPacket(2, payloads.substr(at, 100))));
    }
  }
  expected = Join(expected, Records(packetA));
  expected = Join(expected, Records(packetB));
  EXPECT_EQ(got, expected);
}

TEST(KvsimUdp, PaceSpreadsTheDatagrams) {
  KvsimScenario kv(Udp("pace 1000\ngarbage 300\n"));
  LoopbackUdp client;
  const auto start = Clock::now();
  ASSERT_TRUE(client.sendTo(kv.udpPort(), Login("a", "b")));
  const auto got = client.receiveUntilQuiet(400);
  const auto took = Clock::now() - start - std::chrono::milliseconds(400);
  EXPECT_EQ(got.size(), 301u);
  EXPECT_GE(took, std::chrono::milliseconds(250)) << "300 datagrams at 1000 a second";
  EXPECT_LT(took, std::chrono::milliseconds(2000));
}

TEST(KvsimUdp, LogoutIsAcknowledgedAndEndsTheSession) {
  KvsimScenario kv(Udp("pace 100\ngarbage 1000\n"));
  LoopbackUdp client;
  ASSERT_TRUE(client.sendTo(kv.udpPort(), Login("a", "b")));
  ASSERT_EQ(client.receive(2000), Record(2, 1));
  ASSERT_TRUE(client.receive(2000).has_value());
  ASSERT_TRUE(client.sendTo(kv.udpPort(), Record(3, 0)));
  // The acknowledgement comes among the last garbage; then nothing more.
  const auto rest = client.receiveUntilQuiet(400);
  ASSERT_FALSE(rest.empty());
  EXPECT_LT(rest.size(), 10u);
  EXPECT_NE(std::find(rest.begin(), rest.end(), Record(4, 0)), rest.end());

  KvsimScenario silent(Udp("logout silent\n"));
  ASSERT_TRUE(client.sendTo(silent.udpPort(), Record(3, 0)));
  EXPECT_FALSE(client.receive(300).has_value());
}

TEST(KvsimUdp, EchoesWhatTheClientSends) {
  KvsimScenario kv(Udp("echo\n"));
  LoopbackUdp client;
  ASSERT_TRUE(client.sendTo(kv.udpPort(), Login("a", "b")));
  ASSERT_EQ(client.receive(2000), Record(2, 1));
  const std::string packet = JesPacket(2, std::string(1400, 'e'));
  ASSERT_TRUE(client.sendTo(kv.udpPort(), packet));
  EXPECT_EQ(client.receiveUntilQuiet(300), Records(packet));
}

TEST(KvsimUdp, RecordsEveryDatagramInOrderUntilCleared) {
  KvsimScenario kv(Udp("login silent\n"));
  LoopbackUdp one;
  LoopbackUdp two;
  ASSERT_TRUE(one.sendTo(kv.udpPort(), "first"));
  ASSERT_TRUE(two.sendTo(kv.udpPort(), std::string("\0\x7E", 2)));
  ASSERT_TRUE(one.sendTo(kv.udpPort(), ""));
  ASSERT_TRUE(two.sendTo(kv.udpPort(), Login("u", "p")));
  EXPECT_EQ(kv.waitForDatagrams(4),
            (std::vector<std::string>{"first", std::string("\0\x7E", 2), "", Login("u", "p")}));
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
