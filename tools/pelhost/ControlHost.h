#pragma once

#include <windows.h>
#include <ocidl.h>
#include <oleidl.h>

#include <string>

#include "EventSink.h"
#include "HostOptions.h"
#include "HostSite.h"
#include "Report.h"
#include "com/ComObject.h"
#include "com/ComPtr.h"

namespace pel::host {

// Hosts one ActiveX control in a top-level window the way a page does: client site first,
// then the <param> property bag (or a fresh state), the extent, the event sink and in-place
// activation; then runs the actions and reports what it sees.
class ControlHost {
 public:
  ControlHost(const HostOptions& options, hostkit::Report& report)
      : options_(options), report_(report) {}
  ControlHost(const ControlHost&) = delete;
  ControlHost& operator=(const ControlHost&) = delete;
  ~ControlHost();

  // False (reported) when the window or the control cannot be made or activated.
  bool Start();
  void RunActions();
  // Runs the message loop until the host window is closed.
  void RunUntilClosed();

 private:
  HRESULT CreateControl();
  void Pump();
  // Hands a key message to the control's TranslateAccelerator; true when it took it.
  bool DialogKey(MSG& msg);
  void Wait(int milliseconds);
  HWND ControlWindow() const;

  void Get(const std::string& name);
  void Put(const std::string& assignment);
  void Call(const std::string& name);
  void Verb(const std::string& verb);
  void Click(HWND target, POINT at);
  void ClickId(const std::string& id);
  void ClickAt(const std::string& where);
  void ListWindows();
  void Shot(const std::string& path);
  void ListDialogs();
  void DialogClick(const std::string& where);
  void Key(const std::string& where);
  void Select(const std::string& where);
  void Hover(const std::string& id);
  void Check(const std::string& where);
  HRESULT Dispatch(const std::string& name, WORD flags, DISPPARAMS& params, VARIANT* result);

  const HostOptions& options_;
  hostkit::Report& report_;
  HWND window_ = nullptr;
  HMODULE dll_ = nullptr;
  com::ComPtr<IOleObject> control_;
  com::ComPtr<com::ComObject<HostSite>> site_;
  com::ComPtr<IConnectionPoint> events_;
  DWORD eventCookie_ = 0;
  bool closed_ = false;
};

}  // namespace pel::host
