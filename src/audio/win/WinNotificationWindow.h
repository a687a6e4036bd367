#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "ports/WaveDevices.h"

namespace pel::win {

// What an open device does for the window it notifies: names the core's block behind a
// header the device returned, and hears that the window is gone.
class IWaveHeaderOwner {
 public:
  // The block of `header` when this device (`device` is its handle) returned it, with the
  // device's byte count and flags copied into it; null when the header is not this device's.
  virtual WaveBlock* TakeReturned(WPARAM device, LPARAM header) = 0;
  virtual void WindowGone() = 0;

 protected:
  ~IWaveHeaderOwner() = default;
};

// A hidden child window (child style only, empty rectangle, identifier 0) that receives the
// MM_WIM_* and MM_WOM_* notifications of the devices opened with it and hands them to its
// sink on the window's thread. Destroying the object destroys the window; notifications
// still queued for it are lost with it, as are those for headers no attached device owns.
class WinNotificationWindow final : public INotificationWindow {
 public:
  // Null when the window cannot be made (no owner window, say).
  static std::unique_ptr<WinNotificationWindow> Create(HWND owner, IWaveNotify& sink);
  ~WinNotificationWindow() override;
  WinNotificationWindow(const WinNotificationWindow&) = delete;
  WinNotificationWindow& operator=(const WinNotificationWindow&) = delete;

  // The object behind a handle this class gave out; null for any other window.
  static WinNotificationWindow* FromHandle(uintptr_t handle);

  uintptr_t Handle() const override { return reinterpret_cast<uintptr_t>(hwnd_); }
  HWND Window() const { return hwnd_; }

  // Devices opened with this window; each detaches itself when it goes first.
  void Attach(IWaveHeaderOwner& device);
  void Detach(IWaveHeaderOwner& device);

 private:
  explicit WinNotificationWindow(IWaveNotify& sink) : sink_(sink) {}
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void BlockDone(WPARAM device, LPARAM header);

  HWND hwnd_ = nullptr;
  IWaveNotify& sink_;
  std::vector<IWaveHeaderOwner*> devices_;
};

}  // namespace pel::win
