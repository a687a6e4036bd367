#include "pane/win/dialogs/PaneWindowWatch.h"

#include <commctrl.h>

namespace pel::win {

namespace {
constexpr UINT_PTR kSubclassId = 0x504C4457;  // one watch per window
}  // namespace

void PaneWindowWatch::Watch(HWND window) {
  if (window == window_) return;
  Stop();
  if (window != nullptr &&
      SetWindowSubclass(window, &PaneWindowWatch::Procedure, kSubclassId,
                        reinterpret_cast<DWORD_PTR>(this))) {
    window_ = window;
  }
}

void PaneWindowWatch::Stop() {
  if (window_ != nullptr) RemoveWindowSubclass(window_, &PaneWindowWatch::Procedure, kSubclassId);
  window_ = nullptr;
}

LRESULT CALLBACK PaneWindowWatch::Procedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam, UINT_PTR, DWORD_PTR self) {
  auto* watch = reinterpret_cast<PaneWindowWatch*>(self);
  if (message == WM_DESTROY) {
    if (watch->onDestroy_) watch->onDestroy_();
  } else if (message == WM_NCDESTROY) {
    watch->Stop();
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace pel::win
