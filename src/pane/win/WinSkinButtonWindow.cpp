#include "pane/win/WinSkinButtonWindow.h"

#include <commctrl.h>
#include <windowsx.h>

#include "control/win/com/Module.h"
#include "pane/skin/SkinButton.h"
#include "pane/win/WinSkinImage.h"

namespace pel::win {

namespace {
constexpr UINT_PTR kSubclassId = 0x5B7;
}

WinSkinButtonWindow::~WinSkinButtonWindow() {
  if (window_ == nullptr) return;
  DestroyWindow(window_);
  // Should the window outlive the call, it must not call back into this.
  if (window_ != nullptr) Detach();
}

bool WinSkinButtonWindow::Create(HWND parent, int childId) {
  const ChildRect& r = model_.rect();
  window_ = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, r.left,
                            r.top, r.right - r.left, r.bottom - r.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(childId)),
                            com::ModuleInstance(), nullptr);
  if (window_ == nullptr) return false;
  if (!SetWindowSubclass(window_, &WinSkinButtonWindow::Subclass, kSubclassId,
                         reinterpret_cast<DWORD_PTR>(this))) {
    DestroyWindow(window_);
    window_ = nullptr;
    return false;
  }
  model_.AttachWindow(this);
  return true;
}

void WinSkinButtonWindow::Draw(const DRAWITEMSTRUCT& item) const {
  const auto* image = static_cast<const WinSkinImage*>(model_.Image(model_.ImageSlot()));
  if (image != nullptr) {
    image->Draw(item.hDC, item.rcItem.left, item.rcItem.top);
  } else {
    // No skin to show (it could not be loaded): a plain face instead of stale pixels.
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  }
}

void WinSkinButtonWindow::Repaint() {
  if (window_ != nullptr) RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void WinSkinButtonWindow::SetTooltipText(const std::string& text, bool active) {
  tooltip_.SetText(window_, text, active);
}

void WinSkinButtonWindow::ActivateTooltip(bool active) { tooltip_.Activate(active); }

LRESULT CALLBACK WinSkinButtonWindow::Subclass(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam, UINT_PTR, DWORD_PTR self) {
  auto* button = reinterpret_cast<WinSkinButtonWindow*>(self);
  if (button == nullptr || button->window_ != window) {
    return DefSubclassProc(window, message, wParam, lParam);
  }
  return button->Handle(message, wParam, lParam);
}

LRESULT WinSkinButtonWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND window = window_;
  tooltip_.Relay(window, message, wParam, lParam);
  switch (message) {
    case WM_MOUSEMOVE:
      OnMouseMove(lParam);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // A disabled or already pressed button swallows the click.
      if (!model_.IsEnabled() || model_.GetState() == kSkinPressed) return 0;
      model_.OnLButtonDown();
      break;
    case WM_LBUTTONUP:
      model_.OnLButtonUp();
      break;
    case WM_MOUSELEAVE:
      model_.OnMouseLeave();
      break;
    case WM_MOUSEHOVER:
      model_.OnMouseHover();
      break;
    case WM_SIZE:
      tooltip_.ToolResized(window);
      break;
    case WM_DESTROY:
      tooltip_.Destroy();
      model_.OnDestroy();
      break;
    case WM_NCDESTROY: {
      Detach();
      return DefSubclassProc(window, message, wParam, lParam);
    }
    default:
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

void WinSkinButtonWindow::OnMouseMove(LPARAM lParam) {
  RECT client;
  GetClientRect(window_, &client);
  const POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  const bool over = PtInRect(&client, at) != FALSE;
  if (model_.OnMouseMove(over, GetActiveWindow() != nullptr)) tooltip_.Update();
  TrackLeave();
}

void WinSkinButtonWindow::TrackLeave() {
  TRACKMOUSEEVENT track = {};
  track.cbSize = sizeof track;
  track.dwFlags = TME_LEAVE | TME_HOVER;
  track.hwndTrack = window_;
  track.dwHoverTime = HOVER_DEFAULT;
  TrackMouseEvent(&track);
}

void WinSkinButtonWindow::Detach() {
  RemoveWindowSubclass(window_, &WinSkinButtonWindow::Subclass, kSubclassId);
  model_.AttachWindow(nullptr);
  window_ = nullptr;
}

}  // namespace pel::win
