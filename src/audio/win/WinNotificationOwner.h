#pragma once

#include <windows.h>

#include <memory>

#include "ports/WaveDevices.h"

namespace pel::win {

// A window (the Audio Connection dialog) as the parent of the wave devices' hidden
// notification windows.
class WinNotificationOwner final : public INotificationOwner {
 public:
  explicit WinNotificationOwner(HWND owner) : owner_(owner) {}

  std::unique_ptr<INotificationWindow> CreateNotificationWindow(IWaveNotify& sink) override;

 private:
  HWND owner_;
};

}  // namespace pel::win
