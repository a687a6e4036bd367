#include "pane/win/SubclassedChild.h"

#include <commctrl.h>

#include "com/Module.h"

namespace pel::win {

namespace {
constexpr UINT_PTR kSubclassId = 0x5B7;
}

SubclassedChild::~SubclassedChild() {
  if (window_ == nullptr) return;
  DestroyWindow(window_);
  // Should the window outlive the call, it must not call back into this.
  if (window_ != nullptr) Detach();
}

bool SubclassedChild::Create(const wchar_t* className, DWORD style, const ChildRect& rect,
                             HWND parent, int childId, Handler handler) {
  window_ = CreateWindowExW(0, className, L"", style, rect.left, rect.top,
                            rect.right - rect.left, rect.bottom - rect.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(childId)),
                            com::ModuleInstance(), nullptr);
  if (window_ == nullptr) return false;
  if (!SetWindowSubclass(window_, &SubclassedChild::Procedure, kSubclassId,
                         reinterpret_cast<DWORD_PTR>(this))) {
    DestroyWindow(window_);
    window_ = nullptr;
    return false;
  }
  handler_ = std::move(handler);
  return true;
}

LRESULT CALLBACK SubclassedChild::Procedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam, UINT_PTR, DWORD_PTR self) {
  auto* child = reinterpret_cast<SubclassedChild*>(self);
  if (child != nullptr && child->window_ == window) {
    std::optional<LRESULT> result;
    if (child->handler_) result = child->handler_(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
      child->Detach();
    } else if (result) {
      return *result;
    }
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

void SubclassedChild::Detach() {
  RemoveWindowSubclass(window_, &SubclassedChild::Procedure, kSubclassId);
  window_ = nullptr;
}

}  // namespace pel::win
