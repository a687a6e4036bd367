#include "Hosting.h"

#include <ocidl.h>

#include <utility>

#include "Report.h"
#include "Text.h"
#include "ComRef.h"

namespace {

constexpr int kViewerId = 206;

BOOL CALLBACK FindViewer(HWND child, LPARAM param) {
  if (GetDlgCtrlID(child) == kViewerId && IsWindowVisible(child)) {
    *reinterpret_cast<bool*>(param) = true;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

const wchar_t kFrameClass[] = L"SoakWallFrame";

bool RegisterFrameClass() {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kFrameClass;
  return RegisterClassExW(&wc) != 0;
}

void Pump(DWORD ms) {
  const DWORD end = GetTickCount() + ms;
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

HWND ControlWindow(const hostkit::ComRef<IUnknown>& control) {
  hostkit::ComRef<IOleInPlaceObject> inplace;
  HWND window = nullptr;
  if (SUCCEEDED(control.QueryTo(IID_IOleInPlaceObject, inplace))) inplace->GetWindow(&window);
  return window;
}

bool ShowsViewer(HWND control) {
  bool found = false;
  if (control) EnumChildWindows(control, FindViewer, reinterpret_cast<LPARAM>(&found));
  return found;
}

void LoadParams(const hostkit::ComRef<IUnknown>& control, ParamPropertyBag::Params params,
                hostkit::Report& report) {
  hostkit::ComRef<IPersistPropertyBag> persist;
  if (FAILED(control.QueryTo(IID_IPersistPropertyBag, persist))) {
    report.Line("error\tpropertybag");
    return;
  }
  hostkit::ComRef<ParamPropertyBag> bag(new ParamPropertyBag(std::move(params)));
  const HRESULT hr = persist->Load(bag.Get(), nullptr);
  if (FAILED(hr)) report.Line("error\tload\t" + hostkit::Hex(static_cast<unsigned long>(hr)));
}

std::string UnloadAnswer(const std::wstring& dll) {
  using CanUnloadFn = HRESULT(STDAPICALLTYPE*)();
  HMODULE module = GetModuleHandleW(dll.c_str());
  if (!module) return "not-loaded";
  auto can_unload = reinterpret_cast<CanUnloadFn>(
      reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
  return can_unload ? hostkit::Hex(static_cast<unsigned long>(can_unload())) : "no-export";
}
