#include "audio/AudioPlayer.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "audio/AudioModeTable.h"
#include "audio/AudioResult.h"
#include "audio/codec/AudioCodecFactory.h"

namespace pel {

AudioPlayer::AudioPlayer(IWaveDevices& devices, IRetryPause& pause)
    : devices_(devices), pause_(pause), gainTable_(MakeGainTable()) {}

AudioPlayer::~AudioPlayer() { Close(); }

bool AudioPlayer::SetUpMode(int mode) {
  codec_.reset();
  AudioModeLayout layout;
  if (!LookUpAudioMode(mode, layout)) return false;
  codec_ = MakeAudioCodec(mode);
  if (!codec_) return false;
  codec_->SetUp(&gainTable_, &gainIndex_, &pending_);
  format_ = layout.format;
  blockBytes_ = layout.playbackBytes;
  mode_ = mode;
  return true;
}

int AudioPlayer::Open(INotificationOwner& owner, int mode) {
  if (devices_.OutputDeviceCount() == 0) return AUDIO_NO_DEVICE;
  if (opened_) return AUDIO_ALREADY_OPEN;
  window_ = owner.CreateNotificationWindow(*this);
  if (!window_ || !SetUpMode(mode)) {
    Release();
    return AUDIO_PLAYER_OPEN_FAILED;
  }
  decoded_.reset(new (std::nothrow) uint8_t[blockBytes_]());
  if (!decoded_ || !blocks_.Allocate(blockBytes_) ||
      devices_.OpenOutput(format_, *window_, device_) != kWaveOk || !device_) {
    Release();
    return AUDIO_PLAYER_OPEN_FAILED;
  }
  next_ = 0;
  pending_ = 0;
  for (auto& held : held_) held = false;
  opened_ = true;
  return AUDIO_OK;
}

int AudioPlayer::Write(const uint8_t* payload, size_t length) {
  if (!opened_) return AUDIO_PLAYER_NOT_OPEN;
  // The device still holds the header this block would go into: all four are queued.
  if (held_[next_].load()) {
    ReportPlaybackDrop();
    return AUDIO_DECODE_FAILED;
  }
  if (codec_->Decode(payload, length, decoded_.get(), blockBytes_) < 1) {
    return AUDIO_DECODE_FAILED;
  }
  WaveBlock& block = blocks_[next_];
  std::memcpy(block.data, decoded_.get(), blockBytes_);
  block.length = static_cast<uint32_t>(blockBytes_);
  if (device_->Prepare(block) != kWaveOk) return 0;
  // Counted before the device has it: its return may be handled before Write goes on.
  held_[next_] = true;
  ++pending_;
  if (device_->Write(block) != kWaveOk) {
    --pending_;
    held_[next_] = false;
    device_->Unprepare(block);
    return 0;
  }
  next_ = (next_ + 1) % WaveBlockSet::kCount;
  return AUDIO_OK;
}

void AudioPlayer::OnWaveMessage(WaveMessage message, WaveBlock* block) {
  if (message != WaveMessage::kBlockDone || !device_) return;
  const int index = blocks_.IndexOf(block);
  if (index < 0 || !held_[index].load()) return;
  device_->Unprepare(*block);
  held_[index] = false;
  --pending_;
}

void AudioPlayer::Close() {
  if (opened_ && device_) {
    // Even when the pause fails the device is reset and closed: the blocks are freed below
    // and must not stay with it.
    device_->Pause();
    device_->Reset();
    UnprepareAll(*device_, blocks_);
    if (!CloseWithRetries(*device_, pause_)) {
      unclosed_.Keep(std::move(device_), std::move(blocks_));
    }
  }
  Release();
}

void AudioPlayer::Release() {
  device_.reset();
  blocks_.Free();
  decoded_.reset();
  window_.reset();
  for (auto& held : held_) held = false;
  next_ = 0;
  pending_ = 0;
  opened_ = false;
}

int AudioPlayer::GetVolume() {
  uint32_t volume = 0;
  if (devices_.GetOutputVolume(volume) != kWaveOk) return 0;
  return static_cast<int>(volume >> 16);
}

int AudioPlayer::SetVolume(int volume) {
  volume_ = std::clamp(volume, 0, 65535);
  const auto both = static_cast<uint32_t>(volume_) << 16 | static_cast<uint32_t>(volume_);
  return devices_.SetOutputVolume(both) == kWaveOk ? 1 : 0;
}

}  // namespace pel
