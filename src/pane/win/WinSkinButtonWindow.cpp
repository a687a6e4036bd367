#include "pane/win/WinSkinButtonWindow.h"

#include <windowsx.h>

#include "pane/skin/SkinButton.h"
#include "pane/win/WinSkinImage.h"

namespace pel::win {

bool WinSkinButtonWindow::Create(HWND parent, int childId) {
  if (!child_.Create(L"BUTTON", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, model_.rect(), parent,
                     childId, [this](UINT message, WPARAM wParam, LPARAM lParam) {
                       return Handle(message, wParam, lParam);
                     })) {
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
  if (HWND window = Window()) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  }
}

void WinSkinButtonWindow::SetTooltipText(const std::string& text, bool active) {
  tooltip_.SetText(Window(), text, active);
}

void WinSkinButtonWindow::ActivateTooltip(bool active) { tooltip_.Activate(active); }

std::optional<LRESULT> WinSkinButtonWindow::Handle(UINT message, WPARAM wParam,
                                                   LPARAM lParam) {
  const HWND window = Window();
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
    default:
      break;
  }
  return std::nullopt;
}

void WinSkinButtonWindow::OnMouseMove(LPARAM lParam) {
  RECT client;
  GetClientRect(Window(), &client);
  const POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  const bool over = PtInRect(&client, at) != FALSE;
  if (model_.OnMouseMove(over, GetActiveWindow() != nullptr)) tooltip_.Update();
  TrackLeave();
}

void WinSkinButtonWindow::TrackLeave() {
  TRACKMOUSEEVENT track = {};
  track.cbSize = sizeof track;
  track.dwFlags = TME_LEAVE | TME_HOVER;
  track.hwndTrack = Window();
  track.dwHoverTime = HOVER_DEFAULT;
  TrackMouseEvent(&track);
}

}  // namespace pel::win
