#pragma once

namespace pel {

// What the control does to its own window and to its children's windows. The Windows shell
// implements it with MoveWindow, SetWindowPos, InvalidateRect, UpdateWindow and PostMessage;
// a call for a window that does not exist does nothing.
class IControlWindow {
 public:
  // The control's private message that lays the viewer out (WM_USER+1).
  static constexpr unsigned kWmCameraLayout = 0x0401;

  virtual ~IControlWindow() = default;

  // Moves the viewer window (child 206) within the control's client area.
  virtual void MoveViewer(int x, int y, int width, int height, bool repaint) = 0;
  // Sizes the pane window without moving it.
  virtual void SizePane(int width, int height) = 0;
  // Invalidates the control window's client area, erasing the background when asked.
  virtual void Invalidate(bool erase) = 0;
  // Paints what is invalid at once.
  virtual void Update() = 0;
  // Posts WM_CAMERA_LAYOUT (wParam 0, lParam 0) to the control window.
  virtual void PostCameraLayout() = 0;
};

}  // namespace pel
