#include "Frame.h"

#include <ocidl.h>

const wchar_t kFrameClass[] = L"AtlHostFrame";

bool RegisterFrameClass() {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kFrameClass;
  return RegisterClassExW(&wc) != 0;
}

void PumpMessages(DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
  }
}

HWND ControlWindow(const hostkit::ComRef<IUnknown>& control) {
  hostkit::ComRef<IOleInPlaceObject> inplace;
  HWND window = nullptr;
  if (SUCCEEDED(control.QueryTo(IID_IOleInPlaceObject, inplace))) inplace->GetWindow(&window);
  return window;
}
