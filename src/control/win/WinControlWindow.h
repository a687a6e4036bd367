#pragma once

#include <windows.h>

#include <functional>

#include "ports/ControlWindow.h"

namespace pel::win {

class HostedControl;

// The control's own window and its two children (pane 0xE900, viewer 206) as the core moves
// and repaints them. Without a window every call does nothing. The viewer is a hosted
// component: it is moved through its in-place object, never behind its back.
class WinControlWindow final : public IControlWindow {
 public:
  WinControlWindow(std::function<HWND()> window, std::function<HostedControl*()> viewer)
      : window_(std::move(window)), viewer_(std::move(viewer)) {}

  void MoveViewer(int x, int y, int width, int height, bool repaint) override;
  void SizePane(int width, int height) override;
  void Invalidate(bool erase) override;
  void Update() override;
  void PostCameraLayout() override;

 private:
  HWND Child(int id) const;

  std::function<HWND()> window_;
  std::function<HostedControl*()> viewer_;
};

}  // namespace pel::win
