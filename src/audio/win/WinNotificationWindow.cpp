#include "audio/win/WinNotificationWindow.h"

#include <mmsystem.h>

#include <algorithm>

namespace pel::win {

namespace {

constexpr wchar_t kClassName[] = L"PelioranWaveNotify";

HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

}  // namespace

std::unique_ptr<WinNotificationWindow> WinNotificationWindow::Create(HWND owner,
                                                                     IWaveNotify& sink) {
  if (owner == nullptr) return nullptr;
  std::unique_ptr<WinNotificationWindow> window(new WinNotificationWindow(sink));
  const HINSTANCE module = ThisModule();
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof cls;
  cls.lpfnWndProc = &WinNotificationWindow::Proc;
  cls.hInstance = module;
  cls.lpszClassName = kClassName;
  // The class goes with the last of its windows (a DLL's classes outlive it otherwise), so
  // another thread may unregister it between our registering and creating: try twice.
  for (int attempt = 0; attempt < 2 && window->hwnd_ == nullptr; ++attempt) {
    RegisterClassExW(&cls);
    window->hwnd_ = CreateWindowExW(0, kClassName, L"", WS_CHILD, 0, 0, 0, 0, owner, nullptr,
                                    module, window.get());
  }
  if (window->hwnd_ == nullptr) return nullptr;
  return window;
}

WinNotificationWindow* WinNotificationWindow::FromHandle(uintptr_t handle) {
  const HWND hwnd = reinterpret_cast<HWND>(handle);
  if (hwnd == nullptr || !IsWindow(hwnd) ||
      GetWindowLongPtrW(hwnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&Proc)) {
    return nullptr;
  }
  return reinterpret_cast<WinNotificationWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

WinNotificationWindow::~WinNotificationWindow() {
  for (IWaveHeaderOwner* device : devices_) device->WindowGone();
  devices_.clear();
  if (hwnd_ == nullptr) return;
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  DestroyWindow(hwnd_);
  // Fails harmlessly while other windows of the class are alive.
  UnregisterClassW(kClassName, ThisModule());
}

void WinNotificationWindow::Attach(IWaveHeaderOwner& device) { devices_.push_back(&device); }

void WinNotificationWindow::Detach(IWaveHeaderOwner& device) {
  devices_.erase(std::remove(devices_.begin(), devices_.end(), &device), devices_.end());
}

void WinNotificationWindow::BlockDone(WPARAM device, LPARAM header) {
  WaveBlock* block = nullptr;
  for (IWaveHeaderOwner* owner : devices_) {
    block = owner->TakeReturned(device, header);
    if (block != nullptr) break;
  }
  if (block != nullptr) sink_.OnWaveMessage(WaveMessage::kBlockDone, block);
}

LRESULT CALLBACK WinNotificationWindow::Proc(HWND hwnd, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(
                          reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  }
  auto* self = reinterpret_cast<WinNotificationWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_NCDESTROY:
      // Destroyed with its owner before the object went: nothing to destroy later.
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      self->hwnd_ = nullptr;
      return DefWindowProcW(hwnd, message, wParam, lParam);
    case MM_WIM_OPEN:
    case MM_WOM_OPEN:
      self->sink_.OnWaveMessage(WaveMessage::kOpen, nullptr);
      return 0;
    case MM_WIM_CLOSE:
    case MM_WOM_CLOSE:
      self->sink_.OnWaveMessage(WaveMessage::kClose, nullptr);
      return 0;
    case MM_WIM_DATA:
    case MM_WOM_DONE:
      self->BlockDone(wParam, lParam);
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace pel::win
