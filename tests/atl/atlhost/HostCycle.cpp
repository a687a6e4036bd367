#include "HostCycle.h"

#include <ocidl.h>
#include <oleidl.h>

#include <cstdio>
#include <string>

#include "AtlApi.h"
#include "ComRef.h"
#include "ControlActions.h"
#include "DialogRecorder.h"
#include "Frame.h"
#include "HostingSpy.h"
#include "ParamPropertyBag.h"
#include "Report.h"
#include "Text.h"
#include "WindowFacts.h"
#include "WindowHandle.h"

namespace {

std::string HrText(HRESULT hr) { return hostkit::Hex(static_cast<unsigned long>(hr)); }

// The <param> values, as a browser gives them: IPersistPropertyBag::Load, or InitNew for a
// control without it.
void LoadParams(const hostkit::ComRef<IUnknown>& control, const Options& options,
                hostkit::Report& report) {
  hostkit::ComRef<IPersistPropertyBag> persist;
  if (SUCCEEDED(control.QueryTo(IID_IPersistPropertyBag, persist))) {
    hostkit::ComRef<ParamPropertyBag> bag(new ParamPropertyBag(options.params));
    report.Line("load\tpropertybag\t" + HrText(persist->Load(bag.Get(), nullptr)));
    return;
  }
  hostkit::ComRef<IPersistStreamInit> stream;
  HRESULT hr = control.QueryTo(IID_IPersistStreamInit, stream);
  if (SUCCEEDED(hr)) hr = stream->InitNew();
  report.Line("load\tinitnew\t" + HrText(hr));
}

}  // namespace

bool RunHostCycle(const Options& options, const CLSID& clsid, const AtlApi& atl, bool spy,
                  hostkit::Report& report, hostkit::DialogRecorder& boxes) {
  RECT frame_rect{0, 0, options.width, options.height};
  const DWORD frame_style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE;
  AdjustWindowRectEx(&frame_rect, frame_style, FALSE, 0);
  WindowHandle frame(CreateWindowExW(0, kFrameClass, L"atlhost", frame_style, 0, 0,
                                     frame_rect.right - frame_rect.left,
                                     frame_rect.bottom - frame_rect.top, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr));
  // ATL's own window class, with no control named in its text: the control comes by
  // AtlAxAttachControl, after its <param> values, as CAxWindow::AttachControl does it.
  HWND host = CreateWindowExW(0, atl.WindowClass().c_str(), L"",
                              WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0,
                              options.width, options.height, frame.Get(),
                              reinterpret_cast<HMENU>(1), GetModuleHandleW(nullptr), nullptr);
  if (!frame.Get() || !host) {
    report.Line("error\twindow\t" + std::to_string(GetLastError()));
    return false;
  }
  {
    hostkit::ComRef<IUnknown> early;
    report.Line("host-before-attach\t" + HrText(atl.get_host(host, early.Put())));
  }

  bool attached_ok = false;
  {
    hostkit::ComRef<IUnknown> control;
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                  control.PutVoid());
    report.Line("create\t" + HrText(hr));
    if (FAILED(hr)) return false;
    LoadParams(control, options, report);

    hostkit::ComRef<IUnknown> attached = control;
    if (spy) {
      hostkit::ComRef<IOleObject> ole;
      control.QueryTo(IID_IOleObject, ole);
      if (ole) attached = hostkit::ComRef<IUnknown>(new OleObjectSpy(control, ole, report));
    }
    hostkit::ComRef<IUnknown> container;
    hr = atl.attach_control(attached.Get(), host, container.Put());
    report.Line("attach\t" + HrText(hr));
    for (const std::string& line : boxes.Take()) report.Line(line);
    attached_ok = SUCCEEDED(hr) && container;

    // What ATL says its window holds: the object given (its IUnknown, or the spy) and the
    // site AtlAxAttachControl answered. Compared as pointers, so that the spy sees no
    // questions of the harness's own.
    hostkit::ComRef<IUnknown> hosted, site;
    atl.get_control(host, hosted.Put());
    atl.get_host(host, site.Put());
    report.Line(std::string("hosted\t") + (hosted && hosted.Get() == attached.Get() ? "1" : "0") +
                "\t" + (site && site.Get() == container.Get() ? "1" : "0"));

    HWND window = ControlWindow(control);
    if (window) {
      report.Line("control-window\t" + hostkit::Escaped(hostkit::ClassOf(window)) + "\t" +
                  hostkit::PlaceIn(window, host) + "\t" +
                  (GetParent(window) == host ? "child-of-host" : "elsewhere") + "\t" +
                  (IsWindowVisible(window) ? "1" : "0"));
    } else {
      report.Line("error\tcontrol-window\tnone");
    }

    hostkit::ComRef<IDispatch> dispatch;
    control.QueryTo(IID_IDispatch, dispatch);
    ControlActions actions(window ? window : host, dispatch, report, boxes);
    for (const Action& action : options.actions) actions.Run(action);

    // An application closing: its window goes, and with it ATL's, which closes the control
    // and lets it go; then the application drops its own references.
    frame.Destroy();
    report.Line(std::string("destroyed\t") + (IsWindow(host) ? "host-alive" : "host-gone") +
                "\t" + (window && IsWindow(window) ? "control-alive" : "control-gone"));
  }
  PumpMessages(100);
  for (const std::string& line : boxes.Take()) report.Line(line);
  return attached_ok;
}

void ReportUnloadChecks(const Options& options, hostkit::Report& report) {
  using CanUnloadFn = HRESULT(STDAPICALLTYPE*)();
  for (const std::wstring& clsid : options.unload_checks) {
    std::wstring key = L"CLSID\\" + clsid + L"\\InprocServer32";
    wchar_t path[MAX_PATH] = {};
    DWORD size = sizeof path;
    std::string line = "unload\t" + hostkit::Escaped(clsid) + "\t";
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, path,
                     &size) != ERROR_SUCCESS) {
      report.Line(line + "unregistered");
      continue;
    }
    HMODULE module = GetModuleHandleW(path);
    auto can_unload = module ? reinterpret_cast<CanUnloadFn>(reinterpret_cast<void*>(
                                   GetProcAddress(module, "DllCanUnloadNow")))
                             : nullptr;
    report.Line(line + (can_unload ? HrText(can_unload()) : std::string("not-loaded")));
  }
}
