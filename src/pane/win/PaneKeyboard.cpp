#include "pane/win/PaneKeyboard.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstdlib>
#include <vector>

#include "pane/win/WinPaneView.h"

namespace pel::win {

namespace {

// IOleControlSite::TranslateAccelerator's modifier for Shift (KEYMOD_SHIFT; mingw-w64's
// headers do not declare the enumeration).
constexpr DWORD kKeyModShift = 1;

bool AltHeld(const MSG& msg) { return (msg.lParam & (LPARAM{1} << 29)) != 0; }
bool Repeated(const MSG& msg) { return (msg.lParam & (LPARAM{1} << 30)) != 0; }
bool Held(int key) { return GetKeyState(key) < 0; }

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

}  // namespace

PaneKeyboard::PaneKeyboard(WinPaneView& view, std::function<HWND()> paneWindow,
                           com::ComPtr<IOleClientSite> site)
    : view_(view), paneWindow_(std::move(paneWindow)), site_(std::move(site)) {}

bool PaneKeyboard::Translate(const MSG& msg) {
  // Keys of the hosted panel's windows are the panel's.
  const bool ours =
      msg.hwnd == paneWindow_() || view_.ButtonOf(msg.hwnd) || view_.ComboOf(msg.hwnd);
  if (!ours || (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)) return false;
  const UINT key = static_cast<UINT>(msg.wParam);
  const bool alt = AltHeld(msg);
  bool taken = false;
  if (key == VK_TAB && !alt && !Held(VK_CONTROL)) {
    taken = Tab(msg.hwnd, Held(VK_SHIFT), msg);
  } else if (WinComboWindow* combo = view_.ComboOf(msg.hwnd)) {
    // The list keeps its own arrows and letters; it opens by the keyboard as a list does.
    if (((key == VK_DOWN || key == VK_UP) && alt) || (key == VK_F4 && !alt)) {
      combo->FlipDropDown();
      taken = true;
    }
  } else if (WinSkinButtonWindow* button = view_.ButtonOf(msg.hwnd); button && !alt) {
    if (key == VK_SPACE || key == VK_RETURN) {
      // A held key presses once.
      if (!Repeated(msg) && button->TakesFocus()) button->Press();
      taken = true;
    } else if (key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) {
      taken = Arrow(msg.hwnd, key);
    }
  }
  if (taken && !cues_) {
    cues_ = true;
    if (WinSkinButtonWindow* focused = view_.ButtonOf(GetFocus())) focused->Repaint();
  }
  return taken;
}

bool PaneKeyboard::FocusEdge(bool last) {
  const std::vector<FocusStop> stops = view_.FocusStops();
  if (stops.empty()) return false;
  Focus(last ? stops.back().window : stops.front().window);
  return true;
}

bool PaneKeyboard::Tab(HWND from, bool backwards, const MSG& msg) {
  const std::vector<FocusStop> stops = view_.FocusStops();
  int at = -1;
  for (size_t i = 0; i < stops.size(); ++i) {
    if (stops[i].window == from) at = static_cast<int>(i);
  }
  // From a window that is no stop (the pane itself), Tab enters at the edge.
  const int next = at < 0 ? (backwards ? static_cast<int>(stops.size()) - 1 : 0)
                          : at + (backwards ? -1 : 1);
  if (next < 0 || next >= static_cast<int>(stops.size())) {
    HandOff(msg, backwards);
  } else {
    Focus(stops[static_cast<size_t>(next)].window);
  }
  return true;
}

bool PaneKeyboard::Arrow(HWND from, UINT key) {
  const std::vector<FocusStop> stops = view_.FocusStops();
  const FocusStop* start = nullptr;
  for (const FocusStop& stop : stops) {
    if (stop.window == from) start = &stop;
  }
  if (start == nullptr || !start->camera) return false;
  const POINT a = Centre(start->place);
  const FocusStop* best = nullptr;
  long bestAlong = 0;
  long bestAcross = 0;
  for (const FocusStop& stop : stops) {
    if (!stop.camera || &stop == start) continue;
    const POINT b = Centre(stop.place);
    const bool horizontal = key == VK_LEFT || key == VK_RIGHT;
    long along = horizontal ? b.x - a.x : b.y - a.y;
    const long across = std::labs(horizontal ? b.y - a.y : b.x - a.x);
    if (key == VK_LEFT || key == VK_UP) along = -along;
    // Left and right stay in the row; up and down take the nearest row, then column.
    if (along <= 0 || (horizontal && across != 0)) continue;
    if (best == nullptr || along < bestAlong || (along == bestAlong && across < bestAcross)) {
      best = &stop;
      bestAlong = along;
      bestAcross = across;
    }
  }
  if (best != nullptr) Focus(best->window);
  return true;
}

void PaneKeyboard::HandOff(const MSG& msg, bool backwards) {
  com::ComPtr<IOleControlSite> controlSite;
  if (site_ && SUCCEEDED(site_.As(IID_IOleControlSite, controlSite))) {
    MSG copy = msg;
    if (controlSite->TranslateAccelerator(&copy, backwards ? kKeyModShift : 0) == S_OK) return;
  }
  const HWND pane = paneWindow_();
  const HWND control = pane != nullptr ? GetParent(pane) : nullptr;
  const HWND container = control != nullptr ? GetParent(control) : nullptr;
  if (container == nullptr) return;
  const HWND root = GetAncestor(control, GA_ROOT);
  const HWND next = GetNextDlgTabItem(root, control, backwards ? TRUE : FALSE);
  if (next != nullptr && next != control && !IsChild(control, next)) {
    SetFocus(next);
  } else {
    SetFocus(container);
  }
}

void PaneKeyboard::Focus(HWND window) {
  if (window != nullptr && GetFocus() != window) SetFocus(window);
}

}  // namespace pel::win
