// The audio connection against kvsim's UDP audio side: login answers, parameter checks, the
// exact bytes of every datagram the client sends, playback of what the server sends, logout.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "audio/AudioRecorder.h"
#include "audio/AudioResult.h"
#include "audio/codec/G726Codec.h"
#include "audio/codec/ImaAdpcmCodec.h"
#include "audio/codec/MuLawCopyCodec.h"
#include "support/AudioWire.h"
#include "support/DiagnosticCapture.h"
#include "support/FakeWaveDevices.h"
#include "support/FixedClock.h"
#include "support/Kvsim.h"

namespace pel {
namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

constexpr uint32_t kClock = 0x01234567;

std::string Hex(const Bytes& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  for (uint8_t b : bytes) {
    text += kDigits[b >> 4];
    text += kDigits[b & 15];
  }
  return text;
}

Bytes Ramp(size_t size, unsigned seed) {
  Bytes bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(seed + 3 * i + (i >> 7));
  return bytes;
}

std::string AsText(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// A mode 2 Jes packet as a server would send it; its total length may lie.
Bytes ServerPacket(const Bytes& payload, uint32_t total = 0) {
  if (total == 0) total = static_cast<uint32_t>(60 + payload.size());
  const std::string header = test::WireJesHeader(2, 0, total);
  Bytes packet(header.begin(), header.end());
  packet.insert(packet.end(), payload.begin(), payload.end());
  return packet;
}

// A `record` line for bytes [from, from + count) of a packet.
std::string RecordLine(int kind, int lengthByte, const Bytes& packet, size_t from, size_t count) {
  return "record " + std::to_string(kind) + " " + std::to_string(lengthByte) + " " +
         Hex(Bytes(packet.begin() + from, packet.begin() + from + count)) + "\n";
}

// The mode 2 block the player hands the device for a payload: the payload, then zeros (for the
// first block played).
Bytes PlayedBlock(const Bytes& payload) {
  Bytes block(4096, 0);
  std::copy(payload.begin(), payload.end(), block.begin());
  return block;
}

class AudioTransport : public ::testing::Test {
 protected:
  void SetUp() override { recorder_ = std::make_unique<AudioRecorder>(system_, pause_, clock_); }
  void TearDown() override { recorder_.reset(); }

  AudioRecorder& recorder() { return *recorder_; }

  int Connect(const test::KvsimScenario& kv, int serverId = 0, int camera = 0,
              const char* user = "demo", const char* password = "demo") {
    return recorder().Connect("127.0.0.1", kv.udpPort(), serverId, camera, user, password);
  }

  // Waits for the player to have written `count` blocks to the device.
  std::vector<Bytes> WaitForPlayed(size_t count, int timeoutMs = 5000) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < deadline) {
      if (system_.output() != nullptr && system_.output()->writeCount() >= count) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return system_.output() == nullptr ? std::vector<Bytes>() : system_.output()->written();
  }

  // One capture block filled with `bytes`, handed over on the dialog's thread.
  void CaptureBlock(const Bytes& bytes) {
    system_.Pump();
    ASSERT_TRUE(system_.input()->Capture(bytes));
    ASSERT_GE(system_.Pump(), 1);
  }

  test::FakeWaveSystem system_;
  test::CountingPause pause_;
  test::FixedClock clock_{kClock};
  std::unique_ptr<AudioRecorder> recorder_;
};

TEST_F(AudioTransport, LoginAcceptedAndLogoutByteForByte) {
  test::KvsimScenario kv(test::UdpSection("user demo:s3cret\n"));
  ASSERT_NE(kv.udpPort(), 0);
  ASSERT_EQ(recorder().Open(system_, 2), AUDIO_OK);
  EXPECT_EQ(Connect(kv, 0, 0, "demo", "s3cret"), AUDIO_OK);
  EXPECT_TRUE(recorder().IsConnected());
  EXPECT_EQ(kv.waitForDatagrams(1), std::vector<std::string>{test::WireLogin("demo", "s3cret")});

  EXPECT_EQ(recorder().Disconnect(), 0);
  EXPECT_FALSE(recorder().IsConnected());
  EXPECT_EQ(recorder().Disconnect(), AUDIO_NOT_CONNECTED);
  const auto datagrams = kv.waitForDatagrams(2);
  ASSERT_EQ(datagrams.size(), 2u);
  EXPECT_EQ(datagrams[1], test::WireRecord(3, 0));
  EXPECT_TRUE(recorder().IsOpen()) << "the dialog closes the recorder itself";
}

TEST_F(AudioTransport, SendOnlyDisconnectDoesNotWait) {
  test::KvsimScenario kv(test::UdpSection("logout silent\n"));
  ASSERT_EQ(recorder().Open(system_, 9), AUDIO_OK);
  ASSERT_EQ(Connect(kv), AUDIO_OK);
  const auto start = Clock::now();
  EXPECT_EQ(recorder().Disconnect(), 0);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(3)) << "not the 5 s wait";
  EXPECT_EQ(kv.waitForDatagrams(2).back(), test::WireRecord(3, 0));
  EXPECT_EQ(system_.output(), nullptr) << "no player without playback";
}

TEST_F(AudioTransport, LongUserAndPasswordAreCutTo31) {
  test::KvsimScenario kv(test::UdpSection("login accept\n"));
  ASSERT_EQ(recorder().Open(system_, 2), AUDIO_OK);
  const std::string user(45, 'U');
  const std::string password(32, 'P');
  EXPECT_EQ(Connect(kv, 0, 0, user.c_str(), password.c_str()), AUDIO_OK);
  EXPECT_EQ(kv.waitForDatagrams(1),
            std::vector<std::string>{test::WireLogin(std::string(31, 'U'), std::string(31, 'P'))});
}

TEST_F(AudioTransport, RefusedLogins) {
  ASSERT_EQ(recorder().Open(system_, 2), AUDIO_OK);
  {
    test::KvsimScenario kv(test::UdpSection("user demo:demo\n"));
    EXPECT_EQ(Connect(kv, 0, 0, "demo", "wrong"), AUDIO_DENIED);
    EXPECT_FALSE(recorder().IsConnected());
    EXPECT_EQ(kv.datagrams().size(), 1u);
  }
  {
    test::KvsimScenario kv(test::UdpSection("login deny 2\n"));
    EXPECT_EQ(Connect(kv), AUDIO_DENIED);
  }
  {
    test::KvsimScenario kv(test::UdpSection("login wrong-kind\n"));
    EXPECT_EQ(Connect(kv), AUDIO_UNEXPECTED_REPLY);
    EXPECT_FALSE(recorder().IsConnected());
  }
  {
    test::KvsimScenario kv(test::UdpSection("login wrong-mark\n"));
    EXPECT_EQ(Connect(kv), AUDIO_UNEXPECTED_REPLY);
  }
  EXPECT_TRUE(recorder().IsOpen());
  // A refused connection can be tried again.
  test::KvsimScenario kv(test::UdpSection(""));
  EXPECT_EQ(Connect(kv), AUDIO_OK);
}

TEST_F(AudioTransport, NoAnswerTimesOutAfterFiveSeconds) {
  test::KvsimScenario kv(test::UdpSection("login silent\n"));
  ASSERT_EQ(recorder().Open(system_, 2), AUDIO_OK);
  const auto start = Clock::now();
  const test::DiagnosticCapture diagnostics;
  EXPECT_EQ(Connect(kv), AUDIO_TIMEOUT);
  const auto waited = Clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(4900));
  EXPECT_LT(waited, std::chrono::milliseconds(8000));
  EXPECT_EQ(diagnostics.lines(), std::vector<std::string>{"\tTime Out!!!"});
  EXPECT_FALSE(recorder().IsConnected());
  EXPECT_EQ(kv.datagrams().size(), 1u);
}

// Answers from another port are somebody else's: a login waits as for a silent server.
TEST_F(AudioTransport, LoginAnswerFromAnotherPortWaitsAsNoAnswer) {
  test::KvsimScenario kv(test::UdpSection(""));
  ASSERT_TRUE(kv.audio("spoof"));
  ASSERT_EQ(recorder().Open(system_, 2), AUDIO_OK);
  const auto start = Clock::now();
  const test::DiagnosticCapture diagnostics;
  EXPECT_EQ(Connect(kv), AUDIO_TIMEOUT);
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(4900));
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(8000));
  const auto lines = diagnostics.lines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].find(":" + std::to_string(kv.udpPort()) + ","), std::string::npos);
  EXPECT_EQ(lines[1] + lines[2], "\tTime Out!!!\tDatagrams from other senders dropped: 1");
}

TEST_F(AudioTransport, AudioFromAnotherPortIsNotPlayed) {
  test::KvsimScenario kv(test::UdpSection("echo\n"));
  ASSERT_EQ(recorder().SetPlayback(true), 1);
  ASSERT_EQ(recorder().Open(system_, 2), AUDIO_OK);
  const test::DiagnosticCapture diagnostics;
  ASSERT_EQ(Connect(kv), AUDIO_OK);
  ASSERT_TRUE(kv.audio("spoof"));
  CaptureBlock(Ramp(1400, 1));
  for (int i = 0; i < 50 && diagnostics.Count("Drop datagram from 127.0.0.1:") == 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // and the packet's rest
  }
  ASSERT_TRUE(kv.audio("normal"));
  CaptureBlock(Ramp(1400, 3));
  WaitForPlayed(2, 1500);
  EXPECT_EQ(system_.output()->written(), std::vector<Bytes>{PlayedBlock(Ramp(1400, 3))});
  EXPECT_EQ(recorder().Disconnect(), 0);
  EXPECT_EQ(diagnostics.Count("Drop datagram"), 1u) << "one line, not one per datagram";
  EXPECT_EQ(diagnostics.Count("other senders dropped: 23"), 1u);  // the records of a packet
}

TEST_F(AudioTransport, BadParametersSendNothing) {
  test::KvsimScenario kv(test::UdpSection(""));
  ASSERT_EQ(recorder().Open(system_, 2), AUDIO_OK);
  const int port = kv.udpPort();
  for (const char* address : {"", "127.000.000.0001", "localhost", "127.0.0", "127.0.0.1.1",
                              "256.1.1.1", " 127.0.0.1", "127.0.0.1:80"}) {
    EXPECT_EQ(recorder().Connect(address, port, 0, 0, "demo", "demo"), AUDIO_BAD_PARAMETER)
        << address;
  }
  EXPECT_EQ(recorder().Connect(nullptr, port, 0, 0, "demo", "demo"), AUDIO_BAD_PARAMETER);
  for (int id : {-1, 0x8000, 0xFFFF, 0x10000}) {
    EXPECT_EQ(recorder().Connect("127.0.0.1", port, id, 0, "demo", "demo"), AUDIO_BAD_PARAMETER)
        << id;
    EXPECT_EQ(recorder().Connect("127.0.0.1", port, 0, id, "demo", "demo"), AUDIO_BAD_PARAMETER)
        << id;
  }
  EXPECT_EQ(recorder().Connect("127.0.0.1", port, 0, 0, nullptr, "demo"), AUDIO_BAD_PARAMETER);
  EXPECT_EQ(recorder().Connect("127.0.0.1", port, 0, 0, "demo", nullptr), AUDIO_BAD_PARAMETER);
  for (int badPort : {0, -1, 65536}) {
    EXPECT_EQ(recorder().Connect("127.0.0.1", badPort, 0, 0, "demo", "demo"), AUDIO_BAD_PARAMETER);
  }
  EXPECT_FALSE(recorder().IsConnected());
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_TRUE(kv.datagrams().empty());
  // Largest identifiers, empty user and password, the longest address: fine.
  EXPECT_EQ(recorder().Connect("127.0.0.1", port, 0x7FFF, 0x7FFF, "", ""), AUDIO_OK);
}

TEST_F(AudioTransport, ConnectTwiceIsRefused) {
  test::KvsimScenario kv(test::UdpSection(""));
  ASSERT_EQ(recorder().Open(system_, 2), AUDIO_OK);
  ASSERT_EQ(Connect(kv), AUDIO_OK);
  EXPECT_EQ(Connect(kv), AUDIO_ALREADY_CONNECTED);
  EXPECT_EQ(kv.waitForDatagrams(2, 300).size(), 1u);
}

struct SendCase {
  int mode;
  uint32_t packetBytes;
  size_t captureBytes;
};

class AudioSend : public AudioTransport, public ::testing::WithParamInterface<SendCase> {};

// Every captured block goes out as one Jes packet: the header of the mode and the payload of
// an independent codec of the same kind.
TEST_P(AudioSend, EachCapturedBlockIsOneJesPacketDatagram) {
  const SendCase& c = GetParam();
  test::KvsimScenario kv(test::UdpSection(""));
  ASSERT_EQ(recorder().Open(system_, c.mode), AUDIO_OK);
  const Bytes beforeConnect = Ramp(c.captureBytes, 99);
  CaptureBlock(beforeConnect);  // no socket yet: nothing is sent
  ASSERT_EQ(Connect(kv, 0x1234, 3), AUDIO_OK);

  const GainTable gains = MakeGainTable();
  const int gainIndex = kDefaultGainIndex;
  test::FixedClock clock(kClock);
  G726Codec g726;
  ImaAdpcmCodec ima(clock);
  MuLawCopyCodec copy;
  AudioCodec& reference = c.mode == 1   ? static_cast<AudioCodec&>(g726)
                          : c.mode == 9 ? static_cast<AudioCodec&>(ima)
                                        : static_cast<AudioCodec&>(copy);
  reference.SetUp(&gains, &gainIndex, nullptr);
  const size_t input = c.mode == 1 ? c.captureBytes / 2 : c.captureBytes;

  std::vector<std::string> expected{test::WireLogin("demo", "demo")};
  for (unsigned block = 0; block < 3; ++block) {
    const Bytes captured = Ramp(c.captureBytes, 17 * block + 1);
    CaptureBlock(captured);
    Bytes payload(c.packetBytes - 60);
    ASSERT_GT(reference.Encode(captured.data(), input, payload.data(), payload.size()), 0);
    expected.push_back(test::WireJesHeader(c.mode, 0x1234, c.packetBytes) + AsText(payload));
  }
  ASSERT_EQ(recorder().Disconnect(), 0);
  expected.push_back(test::WireRecord(3, 0));
  const auto datagrams = kv.waitForDatagrams(expected.size());
  ASSERT_EQ(datagrams.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(datagrams[i].size(), expected[i].size()) << i;
    EXPECT_EQ(datagrams[i].substr(0, 60), expected[i].substr(0, 60)) << i;
    EXPECT_TRUE(datagrams[i] == expected[i]) << "datagram " << i << " differs";
  }
  // After the logout, capture goes on without sending.
  CaptureBlock(beforeConnect);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(kv.datagrams().size(), expected.size());
}

INSTANTIATE_TEST_SUITE_P(Modes, AudioSend,
                         ::testing::Values(SendCase{1, 3132, 16384}, SendCase{2, 1460, 1400},
                                           SendCase{9, 2172, 8192}));

TEST_F(AudioTransport, FragmentsOf64And64And20PlayAs148BytePacket) {
  const Bytes payload = Ramp(88, 5);
  test::KvsimScenario kv(test::UdpSection("send-payload " + Hex(payload) + "\n"));
  ASSERT_EQ(recorder().SetPlayback(true), 1);
  ASSERT_EQ(recorder().Open(system_, 2), AUDIO_OK);
  ASSERT_EQ(Connect(kv), AUDIO_OK);
  const auto played = WaitForPlayed(1);
  ASSERT_EQ(played.size(), 1u);
  EXPECT_EQ(played[0], PlayedBlock(payload));
  EXPECT_EQ(system_.output()->format().formatTag, kWaveFormatMuLaw);
  EXPECT_EQ(recorder().Disconnect(), 0);
}

TEST_F(AudioTransport, BadRecordsAndPacketsDoNotStopPlayback) {
  // Garbage; a 128-byte packet whose last record claims 200 bytes; a packet whose total length
  // runs past what arrives; then a good packet.
  const Bytes first = ServerPacket(Ramp(68, 1));
  const Bytes bad = ServerPacket(Ramp(88, 2), 5000);
  const Bytes good = Ramp(300, 3);
  const std::string section = "garbage 6\n" + RecordLine(0, 64, first, 0, 64) +
                              RecordLine(17, 200, first, 64, 64) + RecordLine(0, 64, bad, 0, 64) +
                              RecordLine(0, 64, bad, 64, 64) + RecordLine(17, 20, bad, 128, 20) +
                              "send-payload " + Hex(good) + "\n";
  test::KvsimScenario kv(test::UdpSection(section));
  ASSERT_EQ(recorder().SetPlayback(true), 1);
  ASSERT_EQ(recorder().Open(system_, 2), AUDIO_OK);
  const test::DiagnosticCapture diagnostics;
  ASSERT_EQ(Connect(kv), AUDIO_OK);
  auto played = WaitForPlayed(2);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  played = system_.output()->written();
  ASSERT_EQ(played.size(), 2u);
  EXPECT_EQ(played[0], PlayedBlock(Ramp(68, 1)));
  Bytes second = PlayedBlock(Ramp(68, 1));
  std::copy(good.begin(), good.end(), second.begin());
  EXPECT_EQ(played[1], second);
  EXPECT_GE(diagnostics.Count("Sock Error"), 1u) << "the empty garbage datagram";
  EXPECT_GE(diagnostics.Count("Drop audio packet"), 1u);
  EXPECT_EQ(recorder().Disconnect(), 0);
}

TEST_F(AudioTransport, UnaskedLogoutAcknowledgementEndsOnlyReceiving) {
  const std::string section = "send-payload " + Hex(Ramp(10, 1)) +
                              "\nwait 100\nlogout-ack\nwait 300\nsend-payload " + Hex(Ramp(10, 2)) +
                              "\n";
  test::KvsimScenario kv(test::UdpSection(section));
  ASSERT_EQ(recorder().SetPlayback(true), 1);
  ASSERT_EQ(recorder().Open(system_, 2), AUDIO_OK);
  ASSERT_EQ(Connect(kv), AUDIO_OK);
  ASSERT_EQ(WaitForPlayed(1).size(), 1u);
  std::this_thread::sleep_for(std::chrono::milliseconds(800));
  EXPECT_EQ(system_.output()->writeCount(), 1u) << "nothing is played after the acknowledgement";
  EXPECT_TRUE(recorder().IsConnected());

  CaptureBlock(Ramp(1400, 4));  // sending goes on
  EXPECT_EQ(kv.waitForDatagrams(2).size(), 2u);
  const auto start = Clock::now();
  EXPECT_EQ(recorder().Disconnect(), 0);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(3)) << "not the 5 s wait";
  const auto datagrams = kv.waitForDatagrams(3);
  ASSERT_EQ(datagrams.size(), 3u);
  EXPECT_EQ(datagrams[2], test::WireRecord(3, 0));
}

TEST_F(AudioTransport, DisconnectWithPlaybackWaitsForTheAcknowledgement) {
  test::KvsimScenario kv(test::UdpSection(""));
  ASSERT_EQ(recorder().SetPlayback(true), 1);
  ASSERT_EQ(recorder().Open(system_, 9), AUDIO_OK);
  ASSERT_EQ(Connect(kv), AUDIO_OK);
  test::FakeWaveOut* output = system_.output();
  ASSERT_NE(output, nullptr);
  EXPECT_EQ(output->format().channels, 1);
  const auto start = Clock::now();
  EXPECT_EQ(recorder().Disconnect(), 0);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
  EXPECT_TRUE(output->closed()) << "the player closes with the connection";
  EXPECT_EQ(kv.waitForDatagrams(2).back(), test::WireRecord(3, 0));
  recorder().Close();
  EXPECT_EQ(system_.liveWindows(), 0);
}

TEST_F(AudioTransport, DisconnectWithoutAcknowledgementStillEnds) {
  test::KvsimScenario kv(test::UdpSection("logout silent\n"));
  ASSERT_EQ(recorder().SetPlayback(true), 1);
  ASSERT_EQ(recorder().Open(system_, 1), AUDIO_OK);
  ASSERT_EQ(Connect(kv), AUDIO_OK);
  const auto start = Clock::now();
  EXPECT_EQ(recorder().Disconnect(), 0);
  const auto waited = Clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(4900));
  EXPECT_LT(waited, std::chrono::seconds(12));
  EXPECT_TRUE(system_.output()->closed());
  EXPECT_FALSE(recorder().IsConnected());
}

TEST_F(AudioTransport, EchoedCaptureIsPlayed) {
  test::KvsimScenario kv(test::UdpSection("echo\n"));
  ASSERT_EQ(recorder().SetPlayback(true), 1);
  ASSERT_EQ(recorder().Open(system_, 2), AUDIO_OK);
  ASSERT_EQ(Connect(kv), AUDIO_OK);
  const Bytes spoken = Ramp(1400, 8);
  CaptureBlock(spoken);
  const auto played = WaitForPlayed(1);
  ASSERT_EQ(played.size(), 1u);
  EXPECT_EQ(played[0], PlayedBlock(spoken));
  EXPECT_EQ(recorder().Disconnect(), 0);
}

TEST_F(AudioTransport, CloseWhileConnectedLogsOutFirst) {
  test::KvsimScenario kv(test::UdpSection(""));
  ASSERT_EQ(recorder().SetPlayback(true), 1);
  ASSERT_EQ(recorder().Open(system_, 2), AUDIO_OK);
  ASSERT_EQ(Connect(kv), AUDIO_OK);
  recorder().Close();
  EXPECT_FALSE(recorder().IsConnected());
  EXPECT_FALSE(recorder().IsOpen());
  EXPECT_EQ(kv.waitForDatagrams(2).back(), test::WireRecord(3, 0));
  EXPECT_EQ(system_.liveWindows(), 0);
}

}  // namespace
}  // namespace pel
