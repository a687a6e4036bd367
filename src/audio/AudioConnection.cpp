// The connection side of AudioRecorder: login, the receive thread, logout.
#include <cstring>
#include <functional>
#include <new>
#include <system_error>

#include "audio/AudioReceiveLoop.h"
#include "audio/AudioRecord.h"
#include "audio/AudioRecorder.h"
#include "audio/AudioResult.h"
#include "audio/AudioTeardown.h"

namespace pel {

namespace {

constexpr size_t kMaxAddressChars = 16;
constexpr int kLoginWaitSeconds = 5;
constexpr int kStopWaitMs = 5000;

bool IsIdentifier(int value) { return value >= 0 && value <= 0x7FFF; }

bool ValidAddress(const char* address) {
  return address != nullptr && address[0] != '\0' && std::strlen(address) <= kMaxAddressChars &&
         ParseDottedIpv4(address, nullptr);
}

}  // namespace

int AudioRecorder::SetPlayback(bool enable) {
  if (opened_) return 0;
  if (enable) {
    player_ = std::make_unique<AudioPlayer>(devices_, pause_);
    stopEvent_ = std::make_unique<AutoResetEvent>();
  }
  playbackEnabled_ = enable;
  return 1;
}

int AudioRecorder::Connect(const char* address, int port, int serverId, int cameraIndex,
                           const char* user, const char* password) {
  if (!opened_) return AUDIO_NOT_OPEN;
  if (socket_->IsOpen()) return AUDIO_ALREADY_CONNECTED;
  if (!ValidAddress(address) || !IsIdentifier(serverId) || !IsIdentifier(cameraIndex) ||
      user == nullptr || password == nullptr || port < 1 || port > 65535) {
    return AUDIO_BAD_PARAMETER;
  }
  const int opened = socket_->OpenSocket(address, port, user, password);
  cameraIndex_ = static_cast<uint16_t>(cameraIndex);
  serverId_ = static_cast<uint16_t>(serverId);
  if (opened != 0) return opened;
  if (!socket_->IsOpen()) return AUDIO_NETWORK_ERROR;

  const AudioRecord login = MakeLoginRecord(user, password);
  socket_->Send(login.data(), login.size());
  AudioRecord reply{};
  const int got = socket_->Receive(reply.data(), static_cast<int>(reply.size()),
                                   kLoginWaitSeconds, nullptr, nullptr);
  int result = AUDIO_OK;
  if (got == AudioUdpSocket::kTimedOut) {
    result = AUDIO_TIMEOUT;
  } else if (got < 0) {
    result = AUDIO_NETWORK_ERROR;
  } else if (reply[0] != kAudioRecordMark || reply[1] != kRecordLoginReply) {
    result = AUDIO_UNEXPECTED_REPLY;
  } else if (reply[2] != 1) {
    result = AUDIO_DENIED;
  }
  if (result != AUDIO_OK) {
    socket_->CloseSocket();
    return result;
  }
  if (!playbackEnabled_ || !player_ || !stopEvent_) return AUDIO_OK;

  *running_ = true;
  stopEvent_->Reset();
  player_->Open(*owner_, mode_);
  joiner_.reset(new (std::nothrow) AudioPacketJoiner());
  try {
    if (!joiner_ || !joiner_->Ready()) throw std::bad_alloc();
    receiver_ = std::thread(RunAudioReceiveLoop, std::ref(*socket_), std::ref(*joiner_),
                            std::ref(*player_), std::ref(*running_), std::ref(*stopEvent_));
  } catch (const std::exception&) {
    *running_ = false;
    player_->Close();
    socket_->CloseSocket();
    return AUDIO_NO_MEMORY;
  }
  return AUDIO_OK;
}

int AudioRecorder::Disconnect() {
  if (!opened_ || !blocks_.Ready() || !packet_) return AUDIO_NOT_OPEN;
  if (!socket_->IsOpen()) return AUDIO_NOT_CONNECTED;
  const AudioRecord logout = MakeLogoutRecord();
  socket_->Send(logout.data(), logout.size());
  if (playbackEnabled_) StopReceiving();
  socket_->CloseSocket();
  cameraIndex_ = 0;
  serverId_ = 0;
  if (player_ && playbackEnabled_) player_->Close();
  return 0;
}

void AudioRecorder::StopReceiving() {
  if (!receiver_.joinable()) {
    *running_ = false;
    return;
  }
  // The thread signals once it has left its loop; a thread in a receive wait notices a
  // cleared flag within one receive time-out.
  if (!stopEvent_->Wait(kStopWaitMs)) {
    *running_ = false;
    stopEvent_->Wait(-1);
  }
  *running_ = false;
  receiver_.join();
  joiner_.reset();
}

void AudioRecorder::Abandon() {
  if (socket_->IsOpen()) {
    const AudioRecord logout = MakeLogoutRecord();
    socket_->Send(logout.data(), logout.size());
  }
  if (!device_ && !receiver_.joinable() && !(player_ && player_->IsOpen())) {
    // Nothing that could keep the caller waiting.
    Close();
    return;
  }
  // The windows go first, here on their own thread: after that no device notification can
  // reach this recorder or the player, whatever the finisher is doing with their devices.
  window_.reset();
  if (player_) player_->DropNotifications();

  auto leftovers = std::make_unique<AudioLeftovers>();
  leftovers->pause = &pause_;
  leftovers->socket = std::move(socket_);
  socket_ = std::make_unique<AudioUdpSocket>();
  leftovers->running = std::move(running_);
  running_ = std::make_unique<std::atomic<bool>>(false);
  leftovers->stopped = std::move(stopEvent_);
  leftovers->joiner = std::move(joiner_);
  leftovers->receiver = std::move(receiver_);
  leftovers->player = std::move(player_);
  if (device_) {
    stopping_ = true;
    leftovers->capture = std::move(device_);
    leftovers->captureBlocks = std::move(blocks_);
  }
  FinishDetached(std::move(leftovers));
  owner_ = nullptr;
  CleanUp();
}

}  // namespace pel
