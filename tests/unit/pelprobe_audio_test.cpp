// The real `pelprobe audio` program against kvsim: the codec mode from the server page, the
// login, real-time packets echoed back and played into a file, the logout, the report; and a
// refused login with its message and exit status.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/AudioWire.h"
#include "support/ChildProcess.h"
#include "support/ControlRig.h"
#include "support/JsonReader.h"
#include "support/Kvsim.h"
#include "support/TestEnv.h"

namespace pel::test {
namespace {

constexpr size_t kModeTwoPacket = 1460;
constexpr size_t kModeTwoPlayBlock = 4096;

ProcessResult RunAudio(uint16_t httpPort, uint16_t udpPort, std::vector<std::string> more) {
  std::vector<std::string> args = {"audio", "--addr", "127.0.0.1", "--port",
                                   std::to_string(httpPort), "--audio-port",
                                   std::to_string(udpPort), "--json"};
  args.insert(args.end(), more.begin(), more.end());
  return RunProcess(HostPath(PEL_PELPROBE), args);
}

JsonValue Report(const ProcessResult& run) {
  EXPECT_TRUE(run.started);
  const auto parsed = ParseJson(run.out);
  EXPECT_TRUE(parsed) << "not one JSON value:\n" << run.out << "\nstderr:\n" << run.err;
  return parsed ? *parsed : JsonValue{};
}

TEST(PelprobeAudio, SendsInRealTimeAndPlaysTheEcho) {
  KvsimScenario kv(ServerRoute({"UDPPORT=40000", "AUDIODEVICETYPE=2"}) + UdpSection("echo\n"));
  ASSERT_NE(kv.udpPort(), 0);
  const std::string out = testing::TempDir() + "pelprobe_audio_played.raw";
  const ProcessResult run = RunAudio(kv.port(), kv.udpPort(), {"--seconds", "2", "--out", out});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  const JsonValue report = Report(run);
  EXPECT_EQ(report["serverPage"].text, "read");
  EXPECT_EQ(report["mode"].Int(), 2) << "the page's audio device type";
  EXPECT_EQ(report["result"].Int(), 1);
  EXPECT_EQ(report["message"].text, "Connected");
  EXPECT_TRUE(report["messages"].items.empty());

  // 175 ms of audio per packet: about eleven in two seconds, at that pace.
  const int64_t sent = report["sent"].Int();
  EXPECT_GE(sent, 9);
  EXPECT_LE(sent, 13);
  const int64_t received = report["received"].Int();
  const int64_t dropped = report["dropped"].Int();
  EXPECT_GE(received, sent - 1);
  EXPECT_LE(received, sent);
  EXPECT_GE(dropped, 0);
  EXPECT_LT(dropped, received) << "the first blocks always find a free header";

  const std::vector<std::string> datagrams = kv.waitForDatagrams(static_cast<size_t>(sent) + 2);
  ASSERT_EQ(datagrams.size(), static_cast<size_t>(sent) + 2);
  EXPECT_EQ(datagrams.front(), WireLogin("root", ""));
  EXPECT_EQ(datagrams.back(), WireRecord(3, 0));
  for (size_t i = 1; i + 1 < datagrams.size(); ++i) {
    EXPECT_EQ(datagrams[i].size(), kModeTwoPacket) << i;
  }

  std::ifstream played(out, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(played), std::istreambuf_iterator<char>()};
  EXPECT_EQ(bytes.size(), static_cast<size_t>(received - dropped) * kModeTwoPlayBlock);
  played.close();
  std::remove(out.c_str());
}

TEST(PelprobeAudio, RefusedLoginReportsItsMessage) {
  KvsimScenario kv(UdpSection("login deny\n"));
  const ProcessResult run = RunAudio(kv.port(), kv.udpPort(), {"--mode", "9", "--user", "demo"});
  EXPECT_EQ(run.exitStatus, 4);
  const JsonValue report = Report(run);
  EXPECT_EQ(report["serverPage"].text, "not needed");
  EXPECT_EQ(report["result"].Int(), -13);
  const std::string denied = "Connection denied. Another user is already connected.";
  EXPECT_EQ(report["message"].text, denied);
  ASSERT_EQ(report["messages"].items.size(), 1u);
  EXPECT_EQ(report["messages"][0].text, denied);
  EXPECT_EQ(report["sent"].Int(), 0);
  EXPECT_EQ(kv.waitForDatagrams(1).at(0), WireLogin("demo", ""));
}

TEST(PelprobeAudio, UsageErrors) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"audio"},
        {"audio", "--addr", "127.0.0.1", "--tone", "440", "--in", "x.raw"},
        {"audio", "--addr", "127.0.0.1", "--no-playback", "--out", "x.raw"},
        {"audio", "--addr", "127.0.0.1", "--mode", "3"},
        {"encode", "--mode", "1", "only-one-file"},
        {"decode", "in", "out"}}) {
    const ProcessResult run = RunProcess(HostPath(PEL_PELPROBE), args);
    EXPECT_EQ(run.exitStatus, 1) << args.size() << " " << run.err;
    EXPECT_TRUE(run.out.empty());
  }
}

}  // namespace
}  // namespace pel::test
