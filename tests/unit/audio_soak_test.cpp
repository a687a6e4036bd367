// A long run of the receive thread: kvsim sends 20,000 records a second for 30 seconds; every
// packet must reach the player intact and in order, and the process must not grow. The player
// may drop a block by its rule when the device still holds all four (the test's dialog thread
// can be starved on a busy machine); every other packet must be played. It takes about 32
// seconds and is disabled in the ordinary list: the test run gives it an entry of its own
// (soak.audio_receive) that runs it alone, natively, where the resident size can be read.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

#include "audio/AudioRecorder.h"
#include "audio/AudioResult.h"
#include "support/DiagnosticCapture.h"
#include "support/FakeWaveDevices.h"
#include "support/Kvsim.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace pel {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRecordsPerSecond = 20000;
constexpr int kPayloadBytes = 4096;                                // one mode 2 block
constexpr int kRecordsPerPacket = (60 + kPayloadBytes + 63) / 64;  // 65
constexpr int kPackets = kRecordsPerSecond * 30 / kRecordsPerPacket;

#ifndef _WIN32
// Resident pages of this process, read without allocating.
long ResidentKiB() {
  const int fd = ::open("/proc/self/statm", O_RDONLY);
  if (fd < 0) return -1;
  char text[128] = {};
  const ssize_t got = ::read(fd, text, sizeof text - 1);
  ::close(fd);
  if (got <= 0) return -1;
  long size = 0;
  long resident = 0;
  if (std::sscanf(text, "%ld %ld", &size, &resident) != 2) return -1;
  return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}
#endif

#ifndef _WIN32
// Alone (its own ctest entry): datagrams queued on loopback must not be lost to other suites
// taking the processor for longer than the socket buffer lasts.
TEST(AudioReceiveSoak, DISABLED_TwentyThousandRecordsASecondForThirtySeconds) {
  test::KvsimScenario kv("udp\npace " + std::to_string(kRecordsPerSecond) + "\nsend-counter " +
                         std::to_string(kPackets) + " " + std::to_string(kPayloadBytes) +
                         "\nend\n");
  ASSERT_NE(kv.udpPort(), 0);
  test::FakeWaveSystem system;
  std::atomic<uint32_t> played{0};
  std::atomic<uint32_t> next{0};       // the packet number after the last one played
  std::atomic<uint32_t> backwards{0};  // packets played after a later one
  std::atomic<uint32_t> broken{0};     // blocks whose bytes are not the packet's
  system.onOutputOpened = [&](test::FakeWaveOut& out) {
    // Played blocks go back at once, and nothing is copied: the run must not allocate.
    out.keepCopies = false;
    out.autoReturn = true;
    out.onWrite = [&](const WaveBlock& block) {
      const uint32_t number = static_cast<uint32_t>(block.data[0]) << 24 |
                              static_cast<uint32_t>(block.data[1]) << 16 |
                              static_cast<uint32_t>(block.data[2]) << 8 | block.data[3];
      const bool intact =
          block.length == kPayloadBytes &&
          block.data[kPayloadBytes - 1] == static_cast<uint8_t>(number + kPayloadBytes - 1);
      if (!intact) ++broken;
      if (number < next.load()) ++backwards;
      next = number + 1;
      ++played;
    };
  };
  AudioRecorder recorder(system);
  ASSERT_EQ(recorder.SetPlayback(true), 1);
  ASSERT_EQ(recorder.Open(system, 2), AUDIO_OK);
  const auto start = Clock::now();
  ASSERT_EQ(recorder.Connect("127.0.0.1", kv.udpPort(), 1, 0, "soak", "soak"), AUDIO_OK);

  // This thread is the dialog's: it hands the returned blocks back to the player. It stops
  // once the last packet was played, or two seconds after the stream should have ended.
  const test::DiagnosticCapture diagnostics;
  long before = -1;
  const auto end = start + std::chrono::seconds(31);
  const auto deadline = start + std::chrono::seconds(45);
  while (next.load() < static_cast<uint32_t>(kPackets) && Clock::now() < deadline) {
    const uint32_t seen = played.load();
    system.WaitAndPump(20);
    if (before < 0 && Clock::now() - start > std::chrono::seconds(3)) before = ResidentKiB();
    if (Clock::now() > end && seen == played.load()) {
      const auto quiet = Clock::now();
      while (seen == played.load() && Clock::now() - quiet < std::chrono::seconds(2)) {
        system.WaitAndPump(20);
      }
      if (seen == played.load()) break;
    }
  }
  const long after = ResidentKiB();
  const auto took = Clock::now() - start;
  const size_t dropped = diagnostics.Count("Drop audio packet!");
  EXPECT_EQ(played.load() + dropped, static_cast<size_t>(kPackets))
      << played.load() << " played, " << dropped << " dropped by the player";
  EXPECT_LT(dropped, static_cast<size_t>(kPackets / 10)) << "the dialog's thread hardly ran";
  EXPECT_EQ(diagnostics.Count("does not fit"), 0u) << "records were lost";
  EXPECT_EQ(backwards.load(), 0u);
  EXPECT_EQ(broken.load(), 0u);
  EXPECT_GE(took, std::chrono::seconds(29)) << "kvsim kept its pace";
  ASSERT_GT(before, 0);
  EXPECT_LT(after - before, 4096) << "resident size grew from " << before << " KiB to " << after
                                  << " KiB while " << kPackets << " packets were played";
  EXPECT_EQ(recorder.Disconnect(), 0);
  system.Pump();
}
#endif

}  // namespace
}  // namespace pel
