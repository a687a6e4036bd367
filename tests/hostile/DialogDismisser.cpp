#include "DialogDismisser.h"

namespace hostile {

namespace {

HHOOK g_hook = nullptr;
unsigned long g_dismissed = 0;
Reentry g_reentry;
unsigned long g_every = 0;
unsigned long g_reentries = 0;
bool g_inReentry = false;
HWND g_waiting = nullptr;
const wchar_t* const kSeen = L"hostile.dismissing";

void Cancel(HWND dialog) {
  // Cancel, as the Escape key would: the dialog ends itself once its loop runs.
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

void CALLBACK ReenterThenCancel(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  HWND dialog = g_waiting;
  g_waiting = nullptr;
  ++g_reentries;
  g_inReentry = true;
  g_reentry();
  g_inReentry = false;
  Cancel(dialog);
}

LRESULT CALLBACK CbtProc(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_ACTIVATE) {
    HWND window = reinterpret_cast<HWND>(wp);
    wchar_t name[16] = L"";
    GetClassNameW(window, name, 16);
    // A dialog activates again when one it owned closes: act on its first activation only.
    if (lstrcmpW(name, L"#32770") == 0 && !GetPropW(window, kSeen)) {
      SetPropW(window, kSeen, reinterpret_cast<HANDLE>(1));
      ++g_dismissed;
      if (g_reentry && !g_inReentry && !g_waiting && g_every && g_dismissed % g_every == 0 &&
          SetTimer(nullptr, 0, 0, ReenterThenCancel)) {
        g_waiting = window;
      } else {
        Cancel(window);
      }
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
  g_reentry = nullptr;
}

unsigned long DialogDismisser::Count() const { return g_dismissed; }

void DialogDismisser::SetReentry(Reentry reentry, unsigned long every) {
  g_reentry = std::move(reentry);
  g_every = every;
}

unsigned long DialogDismisser::Reentries() const { return g_reentries; }

}  // namespace hostile
