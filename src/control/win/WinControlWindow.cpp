#include "control/win/WinControlWindow.h"

#include "control/ControlGeometry.h"
#include "hosted/win/HostedControl.h"

namespace pel::win {

HWND WinControlWindow::Child(int id) const {
  HWND hwnd = window_();
  return hwnd ? GetDlgItem(hwnd, id) : nullptr;
}

void WinControlWindow::MoveViewer(int x, int y, int width, int height, bool repaint) {
  HostedControl* viewer = viewer_ ? viewer_() : nullptr;
  if (viewer) viewer->Move(RECT{x, y, x + width, y + height}, repaint);
}

void WinControlWindow::SizePane(int width, int height) {
  if (HWND pane = Child(geometry::kPaneId)) {
    SetWindowPos(pane, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void WinControlWindow::Invalidate(bool erase) {
  if (HWND hwnd = window_()) InvalidateRect(hwnd, nullptr, erase ? TRUE : FALSE);
}

void WinControlWindow::Update() {
  if (HWND hwnd = window_()) UpdateWindow(hwnd);
}

void WinControlWindow::PostCameraLayout() {
  if (HWND hwnd = window_()) PostMessageW(hwnd, kWmCameraLayout, 0, 0);
}

}  // namespace pel::win
