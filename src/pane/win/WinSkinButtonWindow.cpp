#include "pane/win/WinSkinButtonWindow.h"

#include <oleacc.h>
#include <windowsx.h>

#include "com/BStr.h"
#include "pane/skin/SkinButton.h"
#include "pane/win/SkinAccessible.h"
#include "pane/win/WinSkinImage.h"
#include "res/StringTable.h"

namespace pel::win {

WinSkinButtonWindow::WinSkinButtonWindow(CSkinButton& model, PaneChildSupport support,
                                         int labelText, ButtonCaption caption)
    : model_(model),
      support_(std::move(support)),
      labelText_(labelText),
      caption_(caption),
      link_(std::make_shared<AccessibleLink>(*this)) {}

WinSkinButtonWindow::~WinSkinButtonWindow() { link_->Cut(); }

bool WinSkinButtonWindow::Create(HWND parent, int childId, const ChildRect& rect) {
  if (!child_.Create(L"BUTTON", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, rect, parent,
                     childId, [this](UINT message, WPARAM wParam, LPARAM lParam) {
                       return Handle(message, wParam, lParam);
                     })) {
    return false;
  }
  model_.AttachWindow(this);
  return true;
}

void WinSkinButtonWindow::Draw(const DRAWITEMSTRUCT& item, bool highContrast,
                               HFONT captionFont) const {
  const auto* image = static_cast<const WinSkinImage*>(model_.Image(model_.ImageSlot()));
  if (highContrast) {
    DrawHighContrastButton(item, model_, caption_, captionFont);
  } else if (image != nullptr) {
    image->Draw(item.hDC, item.rcItem.left, item.rcItem.top);
  } else {
    // No skin to show (it could not be loaded): a plain face instead of stale pixels.
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  }
  DrawFocusMark(item);
}

void WinSkinButtonWindow::DrawFocusMark(const DRAWITEMSTRUCT& item) const {
  if (GetFocus() != item.hwndItem || !support_.focusCues || !support_.focusCues()) return;
  RECT mark = item.rcItem;
  InflateRect(&mark, -3, -3);
  DrawFocusRect(item.hDC, &mark);
}

void WinSkinButtonWindow::Repaint() {
  if (HWND window = Window()) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    // Every change of the model's look comes through here: latches and presses included.
    NotifyStateChange(window, Facts().state, notifiedState_);
  }
}

AccessibleFacts WinSkinButtonWindow::Facts() const {
  AccessibleFacts facts;
  const HWND window = Window();
  if (labelText_ != 0) {
    facts.name = AccessibleText(labelText_);
    facts.role = ROLE_SYSTEM_STATICTEXT;
    facts.state = STATE_SYSTEM_READONLY;
  } else {
    facts.name = com::WideFromAnsi(model_.tooltip().text());
    facts.role = model_.IsToggle() ? ROLE_SYSTEM_CHECKBUTTON : ROLE_SYSTEM_PUSHBUTTON;
    facts.defaultAction = AccessibleText(IDS_ACC_PRESS);
    if (model_.IsToggle() && model_.IsLatched()) {
      facts.state |= STATE_SYSTEM_CHECKED;
    } else if (model_.GetState() == kSkinPressed) {
      facts.state |= STATE_SYSTEM_PRESSED;
    }
    if (TakesFocus()) facts.state |= STATE_SYSTEM_FOCUSABLE;
    if (window != nullptr && GetFocus() == window) facts.state |= STATE_SYSTEM_FOCUSED;
  }
  if (!model_.IsEnabled() || window == nullptr || !IsWindowEnabled(window)) {
    facts.state |= STATE_SYSTEM_UNAVAILABLE;
  }
  if (window == nullptr || !IsWindowVisible(window)) facts.state |= STATE_SYSTEM_INVISIBLE;
  return facts;
}

bool WinSkinButtonWindow::DoDefaultAction() {
  if (!TakesFocus()) return false;
  Press();
  return true;
}

bool WinSkinButtonWindow::TakesFocus() const {
  const HWND window = Window();
  return labelText_ == 0 && window != nullptr && model_.IsEnabled() &&
         IsWindowVisible(window) && IsWindowEnabled(window);
}

void WinSkinButtonWindow::Press() {
  // A latched toggle takes no press report, as a mouse press on it is swallowed; its release
  // unlatches it.
  if (model_.GetState() != kSkinPressed) model_.OnLButtonDown();
  model_.OnLButtonUp();
  // The owner may have taken the pane down meanwhile (the window then is gone).
  if (Window() != nullptr) model_.OnMouseLeave();
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
      // A disabled or already pressed button swallows the click; an enabled one still takes
      // the focus, as the button class gives it on a click.
      if (!model_.IsEnabled() || model_.GetState() == kSkinPressed) {
        if (TakesFocus()) SetFocus(window);
        return 0;
      }
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
    case WM_GETOBJECT:
      if (const LRESULT object = AnswerGetObject(window, wParam, lParam, link_)) return object;
      break;
    case WM_GETDLGCODE: {
      // Tab, the arrows, Space and Enter are the pane's, also in a dialog-like container;
      // Escape stays the container's.
      const auto* key = reinterpret_cast<const MSG*>(lParam);
      const bool enter = key != nullptr && key->message == WM_KEYDOWN && key->wParam == VK_RETURN;
      return DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS | (enter ? DLGC_WANTMESSAGE : 0);
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (support_.keys && support_.keys(MSG{window, message, wParam, lParam, 0, {0, 0}})) {
        return 0;
      }
      break;
    case WM_KEYUP:
    case WM_CHAR:
      // The button class would click on its own at Space's release.
      if (wParam == VK_SPACE || wParam == VK_RETURN) return 0;
      break;
    case WM_SETFOCUS:
      NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, CHILDID_SELF);
      Repaint();
      break;
    case WM_KILLFOCUS:
      Repaint();
      break;
    case WM_ENABLE:
      NotifyStateChange(window, Facts().state, notifiedState_);
      break;
    case WM_DESTROY:
      link_->Cut();
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
