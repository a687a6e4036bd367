#include "audio/win/WinWaveDevice.h"

namespace pel::win {

int WinWaveInDevice::Add(WaveBlock& block) {
  WAVEHDR* header = HeaderOf(block);
  if (header == nullptr) return WAVERR_UNPREPARED;
  return static_cast<int>(waveInAddBuffer(handle(), header, sizeof *header));
}

int WinWaveInDevice::Start() { return static_cast<int>(waveInStart(handle())); }

int WinWaveInDevice::Stop() { return static_cast<int>(waveInStop(handle())); }

int WinWaveOutDevice::Write(WaveBlock& block) {
  WAVEHDR* header = HeaderOf(block);
  if (header == nullptr) return WAVERR_UNPREPARED;
  return static_cast<int>(waveOutWrite(handle(), header, sizeof *header));
}

int WinWaveOutDevice::Pause() { return static_cast<int>(waveOutPause(handle())); }

}  // namespace pel::win
