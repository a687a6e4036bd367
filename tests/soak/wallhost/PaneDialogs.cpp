#include "PaneDialogs.h"

#include "Hosting.h"
#include "WindowFacts.h"

namespace {

struct CaptionSearch {
  const wchar_t* caption;
  HWND found;
};

BOOL CALLBACK MatchCaption(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<CaptionSearch*>(param);
  if (IsWindowVisible(window) && hostkit::ClassOf(window) == L"#32770" &&
      hostkit::TextOf(window) == search->caption) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND WaitForDialog(const wchar_t* caption, DWORD wait_ms) {
  const DWORD deadline = GetTickCount() + wait_ms;
  for (;;) {
    CaptionSearch search{caption, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchCaption, reinterpret_cast<LPARAM>(&search));
    if (search.found || static_cast<LONG>(deadline - GetTickCount()) <= 0) return search.found;
    PumpMessages(10);
  }
}

bool WaitDialogGone(HWND dialog, DWORD wait_ms) {
  const DWORD deadline = GetTickCount() + wait_ms;
  while (IsWindow(dialog)) {
    if (static_cast<LONG>(deadline - GetTickCount()) <= 0) return false;
    PumpMessages(10);
  }
  return true;
}

bool ClickItem(HWND dialog, int id) {
  HWND item = GetDlgItem(dialog, id);
  if (!item) return false;
  // The button's own press and release, then its notification to the dialog.
  SendMessageW(item, BM_CLICK, 0, 0);
  return true;
}

bool Clickable(HWND dialog, int id) {
  HWND item = GetDlgItem(dialog, id);
  return item && IsWindowVisible(item) && IsWindowEnabled(item);
}

std::wstring ItemText(HWND dialog, int id) {
  HWND item = GetDlgItem(dialog, id);
  return item ? hostkit::TextOf(item) : std::wstring();
}
