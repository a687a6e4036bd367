#include "pane/win/dialogs/ModelessDialog.h"

#include <commctrl.h>

#include <algorithm>
#include <type_traits>

#include "com/Module.h"

namespace pel::win {

namespace {

// The thread's open modeless dialogs, for TranslateDialogMessage. A plain array, not a
// container: a thread_local with a destructor makes the runtime pin the DLL until the thread
// ends, and a browser's window thread never ends, so the DLL could never be unloaded once a
// dialog had been opened. Each control opens at most two; a thread hosting more than
// kMaxOpen / 2 controls with both open loses only keyboard navigation in the extra ones.
constexpr int kMaxOpen = 64;
struct OpenDialogs {
  HWND list[kMaxOpen];
  int count;
};
static_assert(std::is_trivially_destructible_v<OpenDialogs>);
thread_local OpenDialogs t_open;

void Remember(HWND hwnd) {
  if (t_open.count < kMaxOpen) t_open.list[t_open.count++] = hwnd;
}

void Forget(HWND hwnd) {
  HWND* end = std::remove(t_open.list, t_open.list + t_open.count, hwnd);
  t_open.count = static_cast<int>(end - t_open.list);
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
  for (int i = 0; i < t_open.count; ++i) {
    const HWND dialog = t_open.list[i];
    if (dialog == msg.hwnd || IsChild(dialog, msg.hwnd)) return IsDialogMessageA(dialog, &msg) != FALSE;
  }
  return false;
}

INT_PTR CALLBACK ModelessDialog::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<ModelessDialog*>(lParam);
    SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    self->hwnd_ = hwnd;
    Remember(hwnd);
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
