#include "pane/win/dialogs/ModelessDialog.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "control/win/com/Module.h"

namespace pel::win {

namespace {

// The thread's open modeless dialogs, for TranslateDialogMessage.
thread_local std::vector<HWND> t_openDialogs;

void Forget(HWND hwnd) {
  t_openDialogs.erase(std::remove(t_openDialogs.begin(), t_openDialogs.end(), hwnd),
                      t_openDialogs.end());
}

}  // namespace

bool ModelessDialog::Open(int templateId, HWND parent, IDialogHandler& handler) {
  if (hwnd_ != nullptr) return false;
  // The templates' sliders are common controls.
  static const BOOL registered = [] {
    INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    return InitCommonControlsEx(&classes);
  }();
  (void)registered;
  handler_ = &handler;
  // The window is known to this object from WM_INITDIALOG on (see Proc).
  const HWND hwnd = CreateDialogParamA(com::ModuleInstance(), MAKEINTRESOURCEA(templateId),
                                       parent, &ModelessDialog::Proc,
                                       reinterpret_cast<LPARAM>(this));
  if (hwnd == nullptr || hwnd_ != hwnd) return false;
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ShowWindow(hwnd, SW_SHOW);
  return true;
}

void ModelessDialog::Destroy() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

bool ModelessDialog::TranslateDialogMessage(MSG& msg) {
  if (msg.hwnd == nullptr) return false;
  for (HWND dialog : t_openDialogs) {
    if (dialog == msg.hwnd || IsChild(dialog, msg.hwnd)) return IsDialogMessageA(dialog, &msg) != FALSE;
  }
  return false;
}

INT_PTR CALLBACK ModelessDialog::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<ModelessDialog*>(lParam);
    SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    self->hwnd_ = hwnd;
    t_openDialogs.push_back(hwnd);
    return self->handler_->OnInitDialog(hwnd) ? TRUE : FALSE;
  }
  auto* self = reinterpret_cast<ModelessDialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  if (self == nullptr) return FALSE;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    Forget(hwnd);
    self->hwnd_ = nullptr;
    return FALSE;
  }
  return self->Handle(message, wParam, lParam);
}

INT_PTR ModelessDialog::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      if (id == IDCANCEL) {
        handler_->OnCancel();
      } else if (code == BN_CLICKED || (code == 1 && lParam == 0)) {
        handler_->OnCommand(id);
      }
      return TRUE;
    }
    case WM_CLOSE:
      handler_->OnClose();
      return TRUE;
    case WM_HSCROLL:
    case WM_VSCROLL:
      // Every way of moving a trackbar (a drag, a click beside the thumb, a key) ends with
      // TB_ENDTRACK; the positions passed while dragging are not acted on.
      if (LOWORD(wParam) == TB_ENDTRACK && lParam != 0) {
        handler_->OnSliderReleased(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
      }
      return TRUE;
    case WM_DESTROY:
      handler_->OnDestroy();
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace pel::win
