#include "audio/win/WinNotificationOwner.h"

#include "audio/win/WinNotificationWindow.h"

namespace pel::win {

std::unique_ptr<INotificationWindow> WinNotificationOwner::CreateNotificationWindow(
    IWaveNotify& sink) {
  return WinNotificationWindow::Create(owner_, sink);
}

}  // namespace pel::win
