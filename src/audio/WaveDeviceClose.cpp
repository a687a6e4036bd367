#include "audio/WaveDeviceClose.h"

#include <chrono>
#include <thread>

namespace pel {

namespace {

constexpr int kCloseRetries = 100;
constexpr int kClosePauseMs = 500;

class SleepingPause : public IRetryPause {
 public:
  void Pause(int milliseconds) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
};

}  // namespace

IRetryPause& DefaultRetryPause() {
  static SleepingPause pause;
  return pause;
}

bool CloseWithRetries(IWaveDevice& device, IRetryPause& pause) {
  if (device.Close() == kWaveOk) return true;
  for (int retry = 0; retry < kCloseRetries; ++retry) {
    pause.Pause(kClosePauseMs);
    if (device.Close() == kWaveOk) return true;
  }
  return false;
}

void UnclosedDevices::Keep(std::unique_ptr<IWaveDevice> device, WaveBlockSet blocks) {
  kept_.push_back(Kept{std::move(blocks), std::move(device)});
}

}  // namespace pel
