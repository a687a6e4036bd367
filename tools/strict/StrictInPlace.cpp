// The component in place: its window, placed by the container through SetObjectRects only.
#include "StrictControl.h"
#include "StrictLog.h"

namespace strict {

STDMETHODIMP StrictControl::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = Window();
  return *window ? S_OK : E_FAIL;
}

STDMETHODIMP StrictControl::InPlaceDeactivate() {
  UIDeactivate();
  window_.Destroy();
  if (inPlaceSite_) {
    const ComRef<IOleInPlaceSite> site = std::move(inPlaceSite_);
    site->OnInPlaceDeactivate();
  }
  return S_OK;
}

STDMETHODIMP StrictControl::UIDeactivate() {
  if (uiActive_ && inPlaceSite_) inPlaceSite_->OnUIDeactivate(FALSE);
  uiActive_ = false;
  return S_OK;
}

// The one way the component's window moves. Right after, the site is asked for its
// rectangle again: a container that keeps it in step answers the same one.
STDMETHODIMP StrictControl::SetObjectRects(LPCRECT pos, LPCRECT) {
  if (!pos) return E_POINTER;
  LogSiteRect("SetObjectRects", *pos);
  placed_ = *pos;
  if (HWND window = Window()) {
    placing_ = true;
    SetWindowPos(window, nullptr, pos->left, pos->top, pos->right - pos->left,
                 pos->bottom - pos->top, SWP_NOZORDER | SWP_NOACTIVATE);
    placing_ = false;
  }
  if (inPlaceSite_) {
    RECT now = {0, 0, 0, 0};
    const HRESULT hr = SitePosition(inPlaceSite_.Get(), &now);
    if (SUCCEEDED(hr)) {
      LogSiteRect("GetWindowContext", now, EqualRect(&now, pos) ? "same" : "differs");
    } else {
      LogLine(Component(), 0, L"GetWindowContext", "site", HresultText(hr), "failed");
    }
  }
  return S_OK;
}

// A container that moves the window itself goes unnoticed, as with any control: the
// component keeps the place it was given. Only the log tells.
void StrictControl::OnWindowPosChanged(HWND window, const WINDOWPOS& change) {
  if (placing_ || ((change.flags & SWP_NOMOVE) && (change.flags & SWP_NOSIZE))) return;
  RECT now;
  GetWindowRect(window, &now);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&now), 2);
  if (!EqualRect(&now, &placed_)) LogSiteRect("foreign-move", now);
}

void StrictControl::LogSiteRect(const char* name, const RECT& rect, const std::string& note) {
  const std::string text(name);
  LogLine(Component(), 0, std::wstring(text.begin(), text.end()), "site", RectText(rect), note);
}

RECT StrictControl::Area() const {
  return RECT{0, 0, placed_.right - placed_.left, placed_.bottom - placed_.top};
}

}  // namespace strict
