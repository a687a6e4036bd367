#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "audio/WaveBlockSet.h"
#include "audio/WaveDeviceClose.h"
#include "audio/codec/AudioCodec.h"
#include "audio/codec/GainTable.h"
#include "ports/WaveDevices.h"

namespace pel {

// Plays the server's audio: each received payload is decoded into one wave-output block and
// queued at the default output device, cycling through four block headers. Open, Close and
// the device's notifications run on the dialog's thread; Write runs on the connection's
// receive thread. The two share only the count of blocks the device holds and which headers
// it holds, both atomic.
class AudioPlayer : private IWaveNotify {
 public:
  explicit AudioPlayer(IWaveDevices& devices, IRetryPause& pause = DefaultRetryPause());
  ~AudioPlayer() override;
  AudioPlayer(const AudioPlayer&) = delete;
  AudioPlayer& operator=(const AudioPlayer&) = delete;

  // 1; -3 without a wave-output device; -4 when already open; -6 for any other failure
  // (nothing made on the way is kept).
  int Open(INotificationOwner& owner, int mode);

  // Decodes one payload and queues it: 1; -2 when not open; -9 when the block was dropped
  // (the codec produced nothing, or all four headers are still at the device); 0 when the
  // device refused the block (it is lost, the counts stay as they were).
  int Write(const uint8_t* payload, size_t length);

  void Close();
  bool IsOpen() const { return opened_; }
  // Destroys the notification window now, on the thread that made it: no block-done
  // notification reaches the player after this, so another thread may close it later (the
  // blocks still at the device are taken back by Close's reset).
  void DropNotifications() { window_.reset(); }
  int Pending() const { return pending_.load(); }

  // The right channel's volume of wave-output device 0; 0 when it cannot be read.
  int GetVolume();
  // Sets both channels of device 0 to `volume`, kept within 0..65535: 1, or 0 on failure.
  int SetVolume(int volume);

 private:
  void OnWaveMessage(WaveMessage message, WaveBlock* block) override;
  bool SetUpMode(int mode);
  void Release();

  IWaveDevices& devices_;
  IRetryPause& pause_;
  std::unique_ptr<AudioCodec> codec_;
  std::unique_ptr<IWaveOutDevice> device_;
  WaveFormat format_{};
  std::unique_ptr<uint8_t[]> decoded_;
  int next_ = 0;
  std::atomic<int> pending_{0};
  bool opened_ = false;
  int gainIndex_ = kDefaultGainIndex;
  int volume_ = 65535;
  GainTable gainTable_;
  size_t blockBytes_ = 0;
  int mode_ = 0;
  WaveBlockSet blocks_;
  std::array<std::atomic<bool>, WaveBlockSet::kCount> held_{};
  std::unique_ptr<INotificationWindow> window_;
  UnclosedDevices unclosed_;
};

}  // namespace pel
