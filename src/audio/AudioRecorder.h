#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <thread>

#include "audio/AudioPacketJoiner.h"
#include "audio/AudioPlayer.h"
#include "audio/AudioUdpSocket.h"
#include "audio/AutoResetEvent.h"
#include "audio/MicLevelMixer.h"
#include "audio/WaveBlockSet.h"
#include "audio/WaveDeviceClose.h"
#include "audio/codec/AudioCodec.h"
#include "audio/codec/GainTable.h"
#include "ports/Clock.h"
#include "ports/SteadyClock.h"
#include "ports/WaveDevices.h"

namespace pel {

// Captures the microphone and owns the whole audio connection: the UDP socket, the player,
// the receive thread and the microphone level. Every captured block becomes one Jes packet
// datagram while the socket is open. Everything but the receive thread runs on the thread of
// the owner window (the Audio Connection dialog); the receive thread shares only the running
// flag, the stop event and the player's pending count with it. The socket, the flag, the
// event, the joiner and the player are held by pointer so that Abandon can hand them on.
class AudioRecorder : private IWaveNotify {
 public:
  explicit AudioRecorder(IWaveDevices& devices, IRetryPause& pause = DefaultRetryPause(),
                         IMillisecondClock& clock = DefaultMillisecondClock());
  // Disconnects and closes first when still connected or open.
  ~AudioRecorder() override;
  AudioRecorder(const AudioRecorder&) = delete;
  AudioRecorder& operator=(const AudioRecorder&) = delete;

  // Starts capture for codec mode 1, 2 or 9: 1; -3 without a wave-input device; -4 when
  // already open (nothing changes); -5 for any other failure (nothing made on the way is kept).
  int Open(INotificationOwner& owner, int mode);
  // Stops capture and cleans up; a connection still up is disconnected first.
  void Close();
  bool IsOpen() const { return opened_; }

  // The microphone level through the mixer, at most 65535 (0 without a usable mixer).
  int GetMicLevel();
  // Keeps the level, clamped to 0..65535, and sets it: 1, or 0 when the mixer failed.
  int SetMicLevel(int level);

  // Whether the next connection also plays the server's audio: 1, or 0 (nothing changes)
  // while open. Enabling makes a new closed player and a new stop event.
  int SetPlayback(bool enable);

  // Logs in to the server's audio port: 1 accepted; 0 the answer was not a login reply;
  // -1 not open; -10 already connected; -12 bad address (dotted IPv4 of at most 16
  // characters), port, identifiers (0..32767), user or password (missing); -14 no socket or
  // a receive error; -13 refused; -15 no answer within 5 seconds; -16 no thread could be
  // started. Nothing is sent when a parameter is bad.
  int Connect(const char* address, int port, int serverId, int cameraIndex, const char* user,
              const char* password);
  // Logs out: 0; -1 not open; -11 not connected. With playback, waits for the receive thread
  // (at most one receive time-out after 5 seconds) before the socket and the player close.
  int Disconnect();
  bool IsConnected() const { return socket_->IsOpen(); }

  // The end of the connection and of the capture when the dialog goes away with the page:
  // the logout is sent, and the receive thread, the socket, the player and the capture device
  // are handed to a finisher thread (AudioTeardown.h), so that this returns without waiting
  // for a server that may no longer answer or for a device that will not close. Afterwards
  // the recorder is closed, as after Close.
  void Abandon();

 private:
  void OnWaveMessage(WaveMessage message, WaveBlock* block) override;
  int SetUpMode(int mode);
  void SendBlock(const WaveBlock& block);
  void StopDevice();
  void StopReceiving();
  void CleanUp();
  void ReleaseCapture();

  IWaveDevices& devices_;
  IRetryPause& pause_;
  IMillisecondClock& clock_;
  std::unique_ptr<AudioUdpSocket> socket_;
  std::unique_ptr<AudioPlayer> player_;
  std::unique_ptr<AutoResetEvent> stopEvent_;
  // Held by pointer so that a finisher can take it along with the receive thread.
  std::unique_ptr<std::atomic<bool>> running_;
  std::unique_ptr<AudioPacketJoiner> joiner_;
  std::thread receiver_;
  std::unique_ptr<AudioCodec> codec_;
  std::unique_ptr<IWaveInDevice> device_;
  WaveFormat format_{};
  WaveBlockSet blocks_;
  bool stopping_ = false;
  bool opened_ = false;
  int gainIndex_ = kDefaultGainIndex;
  int micLevel_ = 65535;
  GainTable gainTable_;
  std::unique_ptr<uint8_t[]> packet_;
  uint16_t cameraIndex_ = 0;
  uint16_t serverId_ = 0;
  MicLevelMixer mixer_;
  INotificationOwner* owner_ = nullptr;
  size_t captureBytes_ = 0;
  size_t encoderInput_ = 0;
  size_t packetBytes_ = 0;
  bool playbackEnabled_ = false;
  int mode_ = 0;
  std::unique_ptr<INotificationWindow> window_;
  UnclosedDevices unclosed_;
};

}  // namespace pel
