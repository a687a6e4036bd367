#include "audio/AudioRecorder.h"

#include <algorithm>
#include <new>

#include "Common/Jes/JesPacket.h"
#include "audio/AudioModeTable.h"
#include "audio/AudioResult.h"
#include "audio/AudioTeardown.h"
#include "audio/codec/AudioCodecFactory.h"

namespace pel {

AudioRecorder::AudioRecorder(IWaveDevices& devices, IRetryPause& pause, IMillisecondClock& clock)
    : devices_(devices),
      pause_(pause),
      clock_(clock),
      socket_(std::make_unique<AudioUdpSocket>()),
      running_(std::make_unique<std::atomic<bool>>(false)),
      gainTable_(MakeGainTable()),
      mixer_(devices) {}

AudioRecorder::~AudioRecorder() { Close(); }

int AudioRecorder::SetUpMode(int mode) {
  codec_.reset();
  AudioModeLayout layout;
  if (!LookUpAudioMode(mode, layout)) return AUDIO_BAD_MODE;
  format_ = layout.format;
  captureBytes_ = layout.captureBytes;
  encoderInput_ = layout.encoderInput;
  packetBytes_ = layout.packetBytes;
  mode_ = mode;
  codec_ = MakeAudioCodec(mode, clock_);
  packet_.reset(new (std::nothrow) uint8_t[packetBytes_]());
  if (!codec_ || !packet_) return AUDIO_NO_MEMORY;
  codec_->SetUp(&gainTable_, &gainIndex_, nullptr);
  return AUDIO_OK;
}

int AudioRecorder::Open(INotificationOwner& owner, int mode) {
  if (devices_.InputDeviceCount() == 0) return AUDIO_NO_DEVICE;
  if (opened_) return AUDIO_ALREADY_OPEN;
  window_ = owner.CreateNotificationWindow(*this);
  if (!window_ || SetUpMode(mode) != AUDIO_OK ||
      devices_.OpenInput(format_, *window_, device_) != kWaveOk || !device_ ||
      !blocks_.Allocate(captureBytes_)) {
    ReleaseCapture();
    return AUDIO_OPEN_FAILED;
  }
  for (int i = 0; i < WaveBlockSet::kCount; ++i) {
    if (device_->Prepare(blocks_[i]) != kWaveOk || device_->Add(blocks_[i]) != kWaveOk) {
      ReleaseCapture();
      return AUDIO_OPEN_FAILED;
    }
  }
  if (device_->Start() != kWaveOk) {
    ReleaseCapture();
    return AUDIO_OPEN_FAILED;
  }
  owner_ = &owner;
  opened_ = true;
  return AUDIO_OK;
}

void AudioRecorder::OnWaveMessage(WaveMessage message, WaveBlock* block) {
  if (message != WaveMessage::kBlockDone || !device_ || blocks_.IndexOf(block) < 0) return;
  if (socket_->IsOpen()) SendBlock(*block);
  device_->Unprepare(*block);
  if (stopping_) return;
  device_->Prepare(*block);
  device_->Add(*block);
}

void AudioRecorder::SendBlock(const WaveBlock& block) {
  // The whole buffer is coded, whatever the device reports as recorded.
  const int header = jes_build_audio_packet(packet_.get(), mode_, serverId_);
  if (header <= 0 || !codec_) return;
  const int coded = codec_->Encode(block.data, encoderInput_, packet_.get() + header,
                                   packetBytes_ - static_cast<size_t>(header));
  if (coded > 0) socket_->Send(packet_.get(), packetBytes_);
}

void AudioRecorder::StopDevice() {
  if (!device_) return;
  stopping_ = true;
  device_->Stop();
  device_->Reset();
  UnprepareAll(*device_, blocks_);
  if (!CloseWithRetries(*device_, pause_)) {
    unclosed_.Keep(std::move(device_), std::move(blocks_));
  }
  device_.reset();
}

void AudioRecorder::ReleaseCapture() {
  StopDevice();
  blocks_.Free();
  packet_.reset();
  codec_.reset();
  window_.reset();
  format_ = WaveFormat{};
  stopping_ = false;
}

void AudioRecorder::Close() {
  if (socket_->IsOpen()) Disconnect();
  if (opened_) StopDevice();
  owner_ = nullptr;
  CleanUp();
}

void AudioRecorder::CleanUp() {
  StopReceiving();
  socket_->CloseSocket();
  if (playbackEnabled_) {
    stopEvent_.reset();
    if (player_) player_->Close();
    player_.reset();
  }
  ReleaseCapture();
  playbackEnabled_ = false;
  opened_ = false;
  cameraIndex_ = 0;
  serverId_ = 0;
}

int AudioRecorder::GetMicLevel() {
  micLevel_ = static_cast<int>(std::min<uint32_t>(mixer_.GetValue(), 65535));
  return micLevel_;
}

int AudioRecorder::SetMicLevel(int level) {
  micLevel_ = std::clamp(level, 0, 65535);
  return mixer_.SetValue(static_cast<uint32_t>(micLevel_));
}

}  // namespace pel
