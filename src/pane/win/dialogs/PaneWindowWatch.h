#pragma once

#include <windows.h>

#include <functional>

namespace pel::win {

// Hears of a window's destruction (WM_DESTROY) before the window's own procedure does. The
// pane's dialogs are owned by the top-level window, not by the pane, so without this they
// would outlive the pane's window and the pane behind it.
class PaneWindowWatch {
 public:
  explicit PaneWindowWatch(std::function<void()> onDestroy) : onDestroy_(std::move(onDestroy)) {}
  ~PaneWindowWatch() { Stop(); }
  PaneWindowWatch(const PaneWindowWatch&) = delete;
  PaneWindowWatch& operator=(const PaneWindowWatch&) = delete;

  // Watches `window` (of this thread) from now on, instead of any other.
  void Watch(HWND window);
  void Stop();

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR id, DWORD_PTR self);

  HWND window_ = nullptr;
  std::function<void()> onDestroy_;
};

}  // namespace pel::win
