#include "WinAudioRig.h"

namespace pel::wintest {

HiddenOwner::HiddenOwner()
    : hwnd_(CreateWindowExW(0, L"STATIC", L"Audio test owner", WS_OVERLAPPED, 0, 0, 200, 100,
                            nullptr, nullptr, nullptr, nullptr)) {}

HiddenOwner::~HiddenOwner() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

bool PumpMessages(std::chrono::milliseconds limit, const std::function<bool()>& done) {
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done && done()) return true;
    const auto now = std::chrono::steady_clock::now();
    if (now >= end) return false;
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(end - now).count();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(wait < 20 ? wait : 20),
                              QS_ALLINPUT);
  }
}

namespace {

BOOL CALLBACK CountChild(HWND, LPARAM counter) {
  ++*reinterpret_cast<int*>(counter);
  return TRUE;
}

}  // namespace

int ChildWindowCount(HWND parent) {
  int count = 0;
  EnumChildWindows(parent, &CountChild, reinterpret_cast<LPARAM>(&count));
  return count;
}

}  // namespace pel::wintest
