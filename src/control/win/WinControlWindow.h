#pragma once

#include <windows.h>

#include <functional>

#include "ports/ControlWindow.h"

namespace pel::win {

// The control's own window and its two children (pane 0xE900, viewer 206) as the core moves
// and repaints them. Without a window every call does nothing.
class WinControlWindow final : public IControlWindow {
 public:
  explicit WinControlWindow(std::function<HWND()> window) : window_(std::move(window)) {}

  void MoveViewer(int x, int y, int width, int height, bool repaint) override;
  void SizePane(int width, int height) override;
  void Invalidate(bool erase) override;
  void Update() override;
  void PostCameraLayout() override;

 private:
  HWND Child(int id) const;

  std::function<HWND()> window_;
};

}  // namespace pel::win
