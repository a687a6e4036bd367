#pragma once

#include <atomic>
#include <memory>
#include <thread>

#include "audio/AudioPacketJoiner.h"
#include "audio/AudioPlayer.h"
#include "audio/AudioUdpSocket.h"
#include "audio/AutoResetEvent.h"
#include "audio/WaveBlockSet.h"
#include "audio/WaveDeviceClose.h"
#include "ports/WaveDevices.h"

namespace pel {

// What is left of an audio connection when its dialog goes away with the page: the receive
// thread and everything it uses, the player and the capture device with its blocks. Finish
// ends them in the order that keeps each alive while something still uses it: the receive
// thread first (it writes to the player and reads the socket), then the socket, the player's
// device and the capture device. The notification windows are gone before the hand-over,
// so no device notification reaches anything here.
struct AudioLeftovers {
  std::unique_ptr<AudioUdpSocket> socket;
  std::unique_ptr<std::atomic<bool>> running;
  std::unique_ptr<AutoResetEvent> stopped;
  std::unique_ptr<AudioPacketJoiner> joiner;
  WaveBlockSet captureBlocks;  // declared before the device: freed after it
  std::unique_ptr<IWaveInDevice> capture;
  std::unique_ptr<AudioPlayer> player;
  std::thread receiver;
  IRetryPause* pause = nullptr;

  AudioLeftovers() = default;
  AudioLeftovers(const AudioLeftovers&) = delete;
  AudioLeftovers& operator=(const AudioLeftovers&) = delete;
  ~AudioLeftovers();

  // Blocks for as long as the receive time-out and the devices' close retries take; a
  // second call finds nothing left to do.
  void Finish();
};

// Finishes the leftovers on a thread of their own, which owns them and nothing else, so the
// caller (the host's window thread) returns at once. When no thread can be started they are
// finished here. Where the code lives in a DLL, the thread keeps the DLL loaded until it
// has returned.
void FinishDetached(std::unique_ptr<AudioLeftovers> leftovers);

// Finishers started and not yet done: while there are any, the module must not unload.
int AudioFinishersRunning();
// Waits up to `milliseconds` for every finisher to be done: true when none is left.
bool WaitForAudioFinishers(int milliseconds);

}  // namespace pel
