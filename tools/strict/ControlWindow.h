#pragma once

#include <windows.h>

namespace strict {

// Receives the messages of a component's window.
class WindowHandler {
 public:
  virtual LRESULT OnMessage(HWND window, UINT msg, WPARAM wp, LPARAM lp) = 0;

 protected:
  ~WindowHandler() = default;
};

// A component's child window, destroyed with this. The handler stops receiving messages
// before the window is destroyed, so that a component going away is never called back.
class ControlWindow {
 public:
  ControlWindow() = default;
  ControlWindow(const ControlWindow&) = delete;
  ControlWindow& operator=(const ControlWindow&) = delete;
  ~ControlWindow() { Destroy(); }

  bool Create(HWND parent, const RECT& rect, WindowHandler* handler);
  void Destroy();
  HWND Handle() const { return window_; }

 private:
  HWND window_ = nullptr;
};

// At the DLL's unloading: the window class goes with the code of its window procedure.
void UnregisterControlWindowClass();

}  // namespace strict
