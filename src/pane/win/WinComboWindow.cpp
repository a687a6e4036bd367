#include "pane/win/WinComboWindow.h"

#include <commctrl.h>

#include "control/win/com/BStr.h"
#include "control/win/com/Module.h"
#include "pane/skin/SkinComboBox.h"

namespace pel::win {

namespace {
constexpr UINT_PTR kSubclassId = 0xC0B;
}

WinComboWindow::~WinComboWindow() {
  if (window_ == nullptr) return;
  DestroyWindow(window_);
  if (window_ != nullptr) Detach();
}

bool WinComboWindow::Create(HWND parent, int childId, const ChildRect& rect) {
  window_ = CreateWindowExW(0, L"COMBOBOX", L"",
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, rect.left,
                            rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(childId)),
                            com::ModuleInstance(), nullptr);
  if (window_ == nullptr) return false;
  if (!SetWindowSubclass(window_, &WinComboWindow::Subclass, kSubclassId,
                         reinterpret_cast<DWORD_PTR>(this))) {
    DestroyWindow(window_);
    window_ = nullptr;
    return false;
  }
  // The window is told only of later changes: what the model holds already is copied.
  for (int i = 0; i < model_.count(); ++i) AddString(model_.GetText(i));
  SetCurSel(model_.GetCurSel());
  model_.AttachWindow(this);
  return true;
}

void WinComboWindow::OnSelChange() {
  model_.OnSelChange(static_cast<int>(SendMessageW(window_, CB_GETCURSEL, 0, 0)));
}

void WinComboWindow::ResetContent() { SendMessageW(window_, CB_RESETCONTENT, 0, 0); }

void WinComboWindow::AddString(const std::string& text) {
  const std::wstring wide = com::WideFromAnsi(text);
  SendMessageW(window_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

void WinComboWindow::SetCurSel(int index) { SendMessageW(window_, CB_SETCURSEL, index, 0); }

void WinComboWindow::SetTooltipText(const std::string& text, bool active) {
  tooltip_.SetText(window_, text, active);
}

void WinComboWindow::ActivateTooltip(bool active) { tooltip_.Activate(active); }

LRESULT CALLBACK WinComboWindow::Subclass(HWND window, UINT message, WPARAM wParam,
                                          LPARAM lParam, UINT_PTR, DWORD_PTR self) {
  auto* combo = reinterpret_cast<WinComboWindow*>(self);
  if (combo != nullptr && combo->window_ == window) {
    switch (message) {
      case WM_MOUSEMOVE:
        combo->tooltip_.Relay(window, message, wParam, lParam);
        break;
      case WM_SIZE:
        combo->tooltip_.ToolResized(window);
        break;
      case WM_DESTROY:
        combo->tooltip_.Destroy();
        combo->model_.AttachWindow(nullptr);
        break;
      case WM_NCDESTROY:
        combo->Detach();
        break;
      default:
        break;
    }
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

void WinComboWindow::Detach() {
  RemoveWindowSubclass(window_, &WinComboWindow::Subclass, kSubclassId);
  model_.AttachWindow(nullptr);
  window_ = nullptr;
}

}  // namespace pel::win
