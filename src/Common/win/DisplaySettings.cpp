#include "Common/win/DisplaySettings.h"

namespace pel::win {

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

GetDpiForWindowFn WindowDpiQuery() {
  // user32 is loaded in every process with windows; the function may be missing.
  static const GetDpiForWindowFn query = [] {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 == nullptr ? nullptr
                             : reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(
                                   GetProcAddress(user32, "GetDpiForWindow")));
  }();
  return query;
}

int ScreenDpi() {
  const HDC screen = GetDC(nullptr);
  if (screen == nullptr) return 96;
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

}  // namespace

int WindowDpi(HWND window) {
  if (const GetDpiForWindowFn query = WindowDpiQuery(); query != nullptr && window != nullptr) {
    const UINT dpi = query(window);
    if (dpi != 0) return static_cast<int>(dpi);
  }
  return ScreenDpi();
}

}  // namespace pel::win
