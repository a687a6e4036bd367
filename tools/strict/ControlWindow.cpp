#include "ControlWindow.h"

#include "Module.h"

namespace strict {

namespace {

constexpr wchar_t kClassName[] = L"PelStrictComponent";
ATOM g_class = 0;

LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lp);
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* handler = reinterpret_cast<WindowHandler*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (msg == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  return handler ? handler->OnMessage(window, msg, wp, lp) : DefWindowProcW(window, msg, wp, lp);
}

bool RegisterClassOnce() {
  if (g_class) return true;
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = ModuleInstance();
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.lpszClassName = kClassName;
  g_class = RegisterClassExW(&wc);
  return g_class != 0;
}

}  // namespace

bool ControlWindow::Create(HWND parent, const RECT& rect, WindowHandler* handler) {
  Destroy();
  if (!RegisterClassOnce()) return false;
  window_ = CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS |
                                                    WS_CLIPCHILDREN,
                            rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                            parent, nullptr, ModuleInstance(), handler);
  return window_ != nullptr;
}

void ControlWindow::Destroy() {
  if (!window_) return;
  HWND going = window_;
  window_ = nullptr;
  SetWindowLongPtrW(going, GWLP_USERDATA, 0);
  DestroyWindow(going);
}

void UnregisterControlWindowClass() {
  if (g_class) UnregisterClassW(kClassName, ModuleInstance());
  g_class = 0;
}

}  // namespace strict
