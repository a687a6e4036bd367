#include "audio/AudioReceiveLoop.h"

#include "audio/AudioRecord.h"

namespace pel {

namespace {

constexpr int kReceiveWaitSeconds = 5;

void Deliver(AudioPacketJoiner& joiner, AudioPlayer& player) {
  const uint8_t* payload = nullptr;
  size_t length = 0;
  if (joiner.TakePacket(&payload, &length)) player.Write(payload, length);
}

}  // namespace

void RunAudioReceiveLoop(AudioUdpSocket& socket, AudioPacketJoiner& joiner, AudioPlayer& player,
                         std::atomic<bool>& running, AutoResetEvent& stopped) {
  uint8_t record[kAudioRecordSize];
  while (running.load()) {
    const int got = socket.Receive(record, sizeof record, kReceiveWaitSeconds, nullptr, nullptr);
    if (got <= 0) continue;
    switch (joiner.Add(record, static_cast<size_t>(got))) {
      case AudioPacketJoiner::Step::kLogoutAck:
        running = false;
        break;
      case AudioPacketJoiner::Step::kPacket:
        Deliver(joiner, player);
        break;
      case AudioPacketJoiner::Step::kNone:
        break;
    }
  }
  Deliver(joiner, player);
  stopped.Set();
}

}  // namespace pel
