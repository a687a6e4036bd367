#include "Hosting.h"

#include <ocidl.h>

#include <utility>

#include "ComRef.h"
#include "Report.h"
#include "Text.h"

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
