// A connection abandoned with its page against a server that no longer answers: the caller
// gets control back at once, the logout still goes out, and the receive thread and the
// devices are finished off afterwards on a thread of their own, in an order that frees
// nothing still in use.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "audio/AudioRecorder.h"
#include "audio/AudioResult.h"
#include "audio/AudioTeardown.h"
#include "support/AudioWire.h"
#include "support/DiagnosticCapture.h"
#include "support/FakeWaveDevices.h"
#include "support/FixedClock.h"
#include "support/Kvsim.h"

namespace pel {
namespace {

using Clock = std::chrono::steady_clock;

class AudioTeardown : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(AudioFinishersRunning(), 0);
    recorder_ = std::make_unique<AudioRecorder>(system_, pause_, clock_);
  }
  void TearDown() override {
    // The finishers use the fakes and the pause: they must be done before those go.
    EXPECT_TRUE(WaitForAudioFinishers(15000));
    recorder_.reset();
  }

  test::FakeWaveSystem system_;
  test::CountingPause pause_;
  test::FixedClock clock_{0x01234567};
  std::unique_ptr<AudioRecorder> recorder_;
};

TEST_F(AudioTeardown, AbandonAgainstSilentServerReturnsAtOnceAndFinishesLater) {
  test::KvsimScenario kv(
      test::UdpSection("logout silent\nmode 1\nsend-payload 00112233445566778899aabb\n"));
  ASSERT_NE(kv.udpPort(), 0);
  ASSERT_EQ(recorder_->SetPlayback(true), 1);
  ASSERT_EQ(recorder_->Open(system_, 1), AUDIO_OK);
  ASSERT_EQ(recorder_->Connect("127.0.0.1", kv.udpPort(), 0, 0, "demo", "demo"), AUDIO_OK);
  test::FakeWaveOut* output = system_.output();
  test::FakeWaveIn* input = system_.input();
  ASSERT_NE(output, nullptr);
  ASSERT_NE(input, nullptr);
  // Connect does not wait for the receive thread to start (under Wine it may start after an
  // abandon, then find nothing to wait for): a played block shows it is running, and back in
  // its wait by the time this thread sees the block.
  const auto played = Clock::now() + std::chrono::seconds(5);
  while (output->writeCount() == 0 && Clock::now() < played) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_EQ(output->writeCount(), 1u) << "the server's one packet is played";
  output->failCloses = 3;
  input->failCloses = 2;

  const test::DiagnosticCapture diagnostics;
  const auto start = Clock::now();
  recorder_->Abandon();
  const auto took = Clock::now() - start;
  EXPECT_LT(took, std::chrono::milliseconds(500));
  EXPECT_FALSE(recorder_->IsOpen());
  EXPECT_FALSE(recorder_->IsConnected());
  EXPECT_EQ(system_.liveWindows(), 0) << "the windows go on the caller's thread";
  EXPECT_EQ(kv.waitForDatagrams(2).back(), test::WireRecord(3, 0)) << "the logout is sent";
  // The receive thread is still in its wait: the player it writes to must still be open.
  EXPECT_EQ(AudioFinishersRunning(), 1) << testing::PrintToString(diagnostics.lines());
  EXPECT_FALSE(output->closed());

  EXPECT_TRUE(WaitForAudioFinishers(12000));
  EXPECT_TRUE(output->closed());
  EXPECT_TRUE(input->closed());
  EXPECT_FALSE(output->abandonedOpen());
  EXPECT_FALSE(input->abandonedOpen());
  EXPECT_EQ(pause_.pauses.size(), 5u) << "both devices' close retries ran in the finisher";
}

TEST_F(AudioTeardown, AbandonOfCaptureOnlyClosesTheInputDevice) {
  ASSERT_EQ(recorder_->Open(system_, 9), AUDIO_OK);
  test::FakeWaveIn* input = system_.input();
  ASSERT_NE(input, nullptr);
  recorder_->Abandon();
  EXPECT_FALSE(recorder_->IsOpen());
  EXPECT_TRUE(WaitForAudioFinishers(5000));
  EXPECT_TRUE(input->closed());
  // The recorder can be used again.
  EXPECT_EQ(recorder_->Open(system_, 9), AUDIO_OK);
  recorder_->Close();
}

TEST_F(AudioTeardown, AbandonOfClosedRecorderStartsNothing) {
  recorder_->Abandon();
  EXPECT_EQ(AudioFinishersRunning(), 0);
  EXPECT_FALSE(recorder_->IsOpen());
}

}  // namespace
}  // namespace pel
