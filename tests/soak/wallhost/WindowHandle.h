// An owned window: destroyed when it goes, unless destroyed before.
#pragma once
#include <windows.h>

#include <utility>

class WindowHandle {
 public:
  explicit WindowHandle(HWND window = nullptr) : window_(window) {}
  WindowHandle(const WindowHandle&) = delete;
  WindowHandle& operator=(const WindowHandle&) = delete;
  ~WindowHandle() { Destroy(); }

  HWND Get() const { return window_; }
  void Destroy() {
    if (HWND w = std::exchange(window_, nullptr); w && IsWindow(w)) DestroyWindow(w);
  }

 private:
  HWND window_;
};
