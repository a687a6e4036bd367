#include "DialogDismisser.h"

namespace hostile {

namespace {

HHOOK g_hook = nullptr;
unsigned long g_dismissed = 0;

LRESULT CALLBACK CbtProc(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_ACTIVATE) {
    HWND window = reinterpret_cast<HWND>(wp);
    wchar_t name[16] = L"";
    GetClassNameW(window, name, 16);
    if (lstrcmpW(name, L"#32770") == 0) {
      ++g_dismissed;
      // Cancel, as the Escape key would: the dialog ends itself once its loop runs.
      PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
  }
  return CallNextHookEx(g_hook, code, wp, lp);
}

}  // namespace

DialogDismisser::DialogDismisser() {
  hook_ = SetWindowsHookExW(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
  g_hook = hook_;
}

DialogDismisser::~DialogDismisser() {
  if (hook_) UnhookWindowsHookEx(hook_);
  g_hook = nullptr;
}

unsigned long DialogDismisser::Count() const { return g_dismissed; }

}  // namespace hostile
