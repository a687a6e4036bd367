#pragma once

#include <memory>
#include <vector>

#include "audio/WaveBlockSet.h"
#include "ports/WaveDevices.h"

namespace pel {

// The pause between two tries to close a wave device.
class IRetryPause {
 public:
  virtual ~IRetryPause() = default;
  virtual void Pause(int milliseconds) = 0;
};

// Sleeps the calling thread.
IRetryPause& DefaultRetryPause();

// A device that may refuse to close at first (blocks still on their way back): closes it,
// and while that fails tries again up to 100 times, 500 ms apart. True once closed.
bool CloseWithRetries(IWaveDevice& device, IRetryPause& pause);

// Devices that never closed, kept with the blocks they were given so that the blocks cannot
// go away under them. Each is destroyed (the shell's last attempt to close it) before its
// blocks are freed.
class UnclosedDevices {
 public:
  void Keep(std::unique_ptr<IWaveDevice> device, WaveBlockSet blocks);
  size_t Count() const { return kept_.size(); }

 private:
  struct Kept {
    WaveBlockSet blocks;  // declared first: freed last
    std::unique_ptr<IWaveDevice> device;
  };
  std::vector<Kept> kept_;
};

}  // namespace pel
