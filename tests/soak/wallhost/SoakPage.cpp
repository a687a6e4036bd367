#include "SoakPage.h"

#include "AtlApi.h"
#include "Report.h"

SoakPage::SoakPage(const WallOptions& o, const CLSID& clsid, const AtlApi& atl,
                   const std::wstring& port, hostkit::Report& report)
    : frame_(CreateWindowExW(0, kFrameClass, L"soak", WS_POPUP | WS_CLIPCHILDREN | WS_VISIBLE,
                             0, 0, o.cell_width, o.cell_height, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr)) {
  HWND host = frame_.Get()
                  ? CreateWindowExW(0, atl.WindowClass().c_str(), L"",
                                    WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, o.cell_width,
                                    o.cell_height, frame_.Get(), reinterpret_cast<HMENU>(1),
                                    GetModuleHandleW(nullptr), nullptr)
                  : nullptr;
  HRESULT hr = host ? CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                       cell_.control.PutVoid())
                    : E_FAIL;
  if (SUCCEEDED(hr)) {
    ParamPropertyBag::Params params = o.params;
    params.emplace_back(L"iHttpPort", port);
    LoadParams(cell_.control, params, report);
    hr = atl.attach_control(cell_.control.Get(), host, cell_.container.Put());
  }
  cell_.window = ControlWindow(cell_.control);
  const DWORD deadline = GetTickCount() + static_cast<DWORD>(o.timeout_ms);
  while (SUCCEEDED(hr) && !ShowsViewer(cell_.window) &&
         static_cast<LONG>(deadline - GetTickCount()) > 0) {
    PumpMessages(20);
  }
  started_ = SUCCEEDED(hr) && ShowsViewer(cell_.window);
}
