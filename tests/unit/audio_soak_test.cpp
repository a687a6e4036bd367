// A long run of the receive thread: kvsim sends 20,000 records a second for 30 seconds; every
// packet must be played, in order, and the process must not grow. It takes about 32 seconds:
// select it with `ctest -R Soak` (or `--gtest_filter=*Soak*`), leave it out with `-E Soak`.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

#include "audio/AudioRecorder.h"
#include "audio/AudioResult.h"
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

TEST(AudioReceiveSoak, TwentyThousandRecordsASecondForThirtySeconds) {
#ifdef _WIN32
  GTEST_SKIP() << "runs natively only, where the resident size can be read";
#else
  test::KvsimScenario kv("udp\npace " + std::to_string(kRecordsPerSecond) + "\nsend-counter " +
                         std::to_string(kPackets) + " " + std::to_string(kPayloadBytes) +
                         "\nend\n");
  ASSERT_NE(kv.udpPort(), 0);
  test::FakeWaveSystem system;
  std::atomic<uint32_t> played{0};
  std::atomic<uint32_t> outOfOrder{0};
  system.onOutputOpened = [&](test::FakeWaveOut& out) {
    // Played blocks go back at once, and nothing is copied: the run must not allocate.
    out.keepCopies = false;
    out.autoReturn = true;
    out.onWrite = [&](const WaveBlock& block) {
      const uint32_t n = played.load();
      const uint32_t number = static_cast<uint32_t>(block.data[0]) << 24 |
                              static_cast<uint32_t>(block.data[1]) << 16 |
                              static_cast<uint32_t>(block.data[2]) << 8 | block.data[3];
      const bool intact =
          block.length == kPayloadBytes &&
          block.data[kPayloadBytes - 1] == static_cast<uint8_t>(number + kPayloadBytes - 1);
      if (number != n || !intact) ++outOfOrder;
      played = n + 1;
    };
  };
  AudioRecorder recorder(system);
  ASSERT_EQ(recorder.SetPlayback(true), 1);
  ASSERT_EQ(recorder.Open(system, 2), AUDIO_OK);
  const auto start = Clock::now();
  ASSERT_EQ(recorder.Connect("127.0.0.1", kv.udpPort(), 1, 0, "soak", "soak"), AUDIO_OK);

  // This thread is the dialog's: it hands the returned blocks back to the player.
  long before = -1;
  const auto deadline = start + std::chrono::seconds(45);
  while (played.load() < static_cast<uint32_t>(kPackets) && Clock::now() < deadline) {
    system.WaitAndPump(20);
    if (before < 0 && Clock::now() - start > std::chrono::seconds(3)) before = ResidentKiB();
  }
  const long after = ResidentKiB();
  const auto took = Clock::now() - start;

  EXPECT_EQ(played.load(), static_cast<uint32_t>(kPackets));
  EXPECT_EQ(outOfOrder.load(), 0u);
  EXPECT_GE(took, std::chrono::seconds(29)) << "kvsim kept its pace";
  ASSERT_GT(before, 0);
  EXPECT_LT(after - before, 4096) << "resident size grew from " << before << " KiB to " << after
                                  << " KiB while " << kPackets << " packets were played";
  EXPECT_EQ(recorder.Disconnect(), 0);
  system.Pump();
#endif
}

}  // namespace
}  // namespace pel
