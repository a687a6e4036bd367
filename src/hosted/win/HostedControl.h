#pragma once

#include <windows.h>
#include <oleidl.h>

#include <memory>

#include "com/ComPtr.h"
#include "hosted/win/EventSink.h"
#include "hosted/win/HostingContext.h"
#include "hosted/win/WinDispatchPort.h"

namespace pel::win {

class ChildSite;

// An outside ActiveX component hosted as a child control of `parent`: created by class ID,
// given a site, in-place activated in `rect`, its window given the child ID, its events handed
// to a handler. A component that is not installed (or will not activate) leaves this empty and
// Dispatch() null, so that the wrapper over it stays inert. So does one that must not run
// here (kComponentBlocked): one with its kill bit set, or, in a browser page, one that does
// not say it is safe for scripting and initialising.
class HostedControl {
 public:
  HostedControl() = default;
  HostedControl(const HostedControl&) = delete;
  HostedControl& operator=(const HostedControl&) = delete;
  ~HostedControl() { Destroy(); }

  HRESULT Create(REFCLSID clsid, HWND parent, const RECT& rect, int id, ComponentEvent events,
                 const HostingContext& hosting = {});
  void Destroy();

  IDispatchPort* Dispatch() { return port_.get(); }
  HWND Window() const { return window_; }
  // Moves and sizes the component as a container does: its site's rectangle first (what
  // GetWindowContext answers), then IOleInPlaceObject::SetObjectRects, so that the component
  // places its own window. False when no component is in place to move.
  bool Move(const RECT& rect, bool repaint = true);

 private:
  com::ComPtr<IOleObject> object_;
  com::ComPtr<IOleClientSite> site_;
  ChildSite* siteImpl_ = nullptr;
  std::unique_ptr<WinDispatchPort> port_;
  EventConnection events_;
  HWND window_ = nullptr;
};

}  // namespace pel::win
