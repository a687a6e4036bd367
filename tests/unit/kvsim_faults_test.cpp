// kvsim's faults put on a running server through the control port (FAULT, RESTART, AUDIO),
// checked with plain sockets: each changes what the server's own port does, and goes again.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>

#include "support/AudioWire.h"
#include "support/Kvsim.h"
#include "support/LoopbackClient.h"
#include "support/LoopbackUdp.h"
#include "support/TestEnv.h"

namespace pel::test {
namespace {

using Clock = std::chrono::steady_clock;

const char kPage[] = "route /a\nbody\nA=1\nend\nroute /open\nafter keep-open\n";
const std::string kAnswer = "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nA=1\r\n";

std::string Control(const std::string& command) {
  return ExchangeWithLoopback(KvsimControlPort(), command);
}

std::string Fault(int port, const std::string& fault) {
  return Control("FAULT " + std::to_string(port) + " " + fault + "\n");
}

std::string GetA(int port) {
  return ExchangeWithLoopback(port, "GET /a HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n", 3000);
}

long long MsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

TEST(KvsimFaults, EachFaultChangesEveryAnswerUntilCleared) {
  ASSERT_NE(KvsimControlPort(), 0) << "no kvsim runs";
  KvsimScenario kv(kPage);
  ASSERT_NE(kv.port(), 0);
  ASSERT_EQ(GetA(kv.port()), kAnswer);

  ASSERT_EQ(Fault(kv.port(), "garbage"), "OK\n");
  const std::string garbage = GetA(kv.port());
  EXPECT_EQ(garbage.size(), 1000u);
  EXPECT_EQ(garbage.find("HTTP"), std::string::npos);
  EXPECT_EQ(garbage.find_first_of("0123456789 +-"), std::string::npos);

  ASSERT_EQ(Fault(kv.port(), "stall 400"), "OK\n");
  auto start = Clock::now();
  EXPECT_EQ(GetA(kv.port()), kAnswer);
  EXPECT_GE(MsSince(start), 380);

  ASSERT_EQ(Fault(kv.port(), "trickle 20"), "OK\n");
  start = Clock::now();
  EXPECT_EQ(GetA(kv.port()), kAnswer);
  EXPECT_GE(MsSince(start), 15 * static_cast<long long>(kAnswer.size()));  // waits of 20 ms

  // A cut ends the connection in order; a reset breaks it, so the client's next send fails.
  ASSERT_EQ(Fault(kv.port(), "cut 20"), "OK\n");
  LoopbackClient cut;
  ASSERT_TRUE(cut.connect(kv.port()));
  ASSERT_TRUE(cut.send("GET /a HTTP/1.1\r\n\r\n"));
  EXPECT_EQ(cut.receive(3000), kAnswer.substr(0, 20));
  EXPECT_TRUE(cut.peerClosed());
  EXPECT_TRUE(cut.send("x"));

  ASSERT_EQ(Fault(kv.port(), "reset 20"), "OK\n");
  LoopbackClient reset;
  ASSERT_TRUE(reset.connect(kv.port()));
  ASSERT_TRUE(reset.send("GET /a HTTP/1.1\r\n\r\n"));
  const std::string broken = reset.receive(3000);
  EXPECT_LE(broken.size(), 20u);
  EXPECT_EQ(broken, kAnswer.substr(0, broken.size()));
  EXPECT_TRUE(reset.peerClosed());
  bool sendFailed = false;
  for (int i = 0; i < 20 && !sendFailed; ++i) sendFailed = !reset.send("x");
  EXPECT_TRUE(sendFailed);

  ASSERT_EQ(Fault(kv.port(), "none"), "OK\n");
  EXPECT_EQ(GetA(kv.port()), kAnswer);
  EXPECT_EQ(kv.requests().size(), 7u);
}

TEST(KvsimFaults, RefusingAndRestartingKeepThePort) {
  ASSERT_NE(KvsimControlPort(), 0) << "no kvsim runs";
  KvsimScenario kv(kPage);
  ASSERT_NE(kv.port(), 0);
  LoopbackClient held;
  ASSERT_TRUE(held.connect(kv.port()));
  ASSERT_TRUE(held.send("GET /open HTTP/1.1\r\n\r\n"));
  held.receive(300);
  ASSERT_FALSE(held.peerClosed());

  ASSERT_EQ(Fault(kv.port(), "refuse"), "OK\n");
  LoopbackClient refused;
  EXPECT_FALSE(refused.connect(kv.port()));
  held.receive(2000);
  EXPECT_TRUE(held.peerClosed());
  ASSERT_EQ(Fault(kv.port(), "none"), "OK\n");
  EXPECT_EQ(GetA(kv.port()), kAnswer);

  ASSERT_TRUE(held.connect(kv.port()));
  ASSERT_TRUE(held.send("GET /open HTTP/1.1\r\n\r\n"));
  held.receive(300);
  ASSERT_FALSE(held.peerClosed());
  const auto start = Clock::now();
  auto restart = std::async(std::launch::async, [&] {
    return Control("RESTART " + std::to_string(kv.port()) + " down 600\n");
  });
  held.receive(2000);
  EXPECT_TRUE(held.peerClosed());
  LoopbackClient down;
  EXPECT_FALSE(down.connect(kv.port()));
  EXPECT_EQ(restart.get(), "OK\n");
  EXPECT_GE(MsSince(start), 580);
  EXPECT_EQ(GetA(kv.port()), kAnswer);
  EXPECT_EQ(kv.requests().size(), 4u);
}

TEST(KvsimFaults, SilentAudioAnswersNothingUntilNormal) {
  ASSERT_NE(KvsimControlPort(), 0) << "no kvsim runs";
  KvsimScenario kv("route /a\n" + UdpSection("user demo:pw\necho\n"));
  ASSERT_NE(kv.udpPort(), 0);
  const std::string audio = "AUDIO " + std::to_string(kv.port());
  const std::string packet = WireJesPacket(2, "hello");
  LoopbackUdp client;
  ASSERT_TRUE(client.sendTo(kv.udpPort(), WireLogin("demo", "pw")));
  EXPECT_EQ(client.receive(3000).value_or(""), WireRecord(2, 1));

  ASSERT_EQ(Control(audio + " silent\n"), "OK\n");
  // The session is forgotten: nothing comes back, neither echo nor login reply.
  ASSERT_TRUE(client.sendTo(kv.udpPort(), packet));
  ASSERT_TRUE(client.sendTo(kv.udpPort(), WireLogin("demo", "pw")));
  EXPECT_FALSE(client.receive(400).has_value());
  EXPECT_EQ(kv.waitForDatagrams(3).size(), 3u);

  ASSERT_EQ(Control(audio + " normal\n"), "OK\n");
  ASSERT_TRUE(client.sendTo(kv.udpPort(), packet));
  EXPECT_FALSE(client.receive(300).has_value());
  ASSERT_TRUE(client.sendTo(kv.udpPort(), WireLogin("demo", "pw")));
  EXPECT_EQ(client.receive(3000).value_or(""), WireRecord(2, 1));
  ASSERT_TRUE(client.sendTo(kv.udpPort(), packet));
  EXPECT_EQ(client.receiveUntilQuiet(300), WireRecords(packet));

  // A restart forgets the sessions too.
  ASSERT_EQ(Control("RESTART " + std::to_string(kv.port()) + "\n"), "OK\n");
  ASSERT_TRUE(client.sendTo(kv.udpPort(), packet));
  EXPECT_FALSE(client.receive(300).has_value());
}

TEST(KvsimFaults, ControlPortRefusesBadFaults) {
  const int control = KvsimControlPort();
  ASSERT_NE(control, 0) << "no kvsim runs";
  KvsimScenario kv(kPage);
  ASSERT_NE(kv.port(), 0);
  const std::string port = std::to_string(kv.port());
  for (const std::string& bad :
       {"FAULT " + port + " slow\n", "FAULT " + port + " stall\n", "FAULT " + port + " stall x\n",
        "FAULT " + port + " stall 600001\n", "FAULT " + port + " trickle 0\n",
        "FAULT " + port + " none now\n",
        "FAULT " + port + " cut 5 more\n", "FAULT " + port + "\n", "RESTART " + port + " down\n",
        "RESTART " + port + " down 60001\n", "RESTART " + port + " later\n",
        "AUDIO " + port + " loud\n", "AUDIO " + port + " silent\n", std::string("FAULT 0 none\n")}) {
    EXPECT_EQ(ExchangeWithLoopback(control, bad).substr(0, 4), "ERR ") << bad;
  }
  // A port that serves no scenario (the control port itself).
  EXPECT_EQ(ExchangeWithLoopback(control, "FAULT " + std::to_string(control) + " garbage\n"),
            "ERR no scenario on port " + std::to_string(control) + "\n");
  EXPECT_EQ(GetA(kv.port()), kAnswer);
}

}  // namespace
}  // namespace pel::test
