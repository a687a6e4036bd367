// The actions a test runs against the hosted control: waiting with the message loop running,
// listing the control's windows, clicks, keys, a combo box choice, property reads and oleacc.
#pragma once
#include <oaidl.h>
#include <windows.h>

#include <string>

#include "ComRef.h"
#include "DialogRecorder.h"
#include "Options.h"
#include "Report.h"

class ControlActions {
 public:
  ControlActions(HWND control, hostkit::ComRef<IDispatch> dispatch, hostkit::Report& report,
                 hostkit::DialogRecorder& boxes);
  void Run(const Action& action);

 private:
  void ListWindows(HWND parent, int depth);
  void Wait(const std::string& ms);
  void Resize(const std::string& size);
  void Click(const std::string& id);
  void ClickAt(const std::string& where);
  void Select(const std::string& what);
  void Get(const std::string& name);
  void AccessibleDo(const std::string& id);
  void Error(const std::string& what, const std::string& detail);

  HWND control_;
  hostkit::ComRef<IDispatch> dispatch_;
  hostkit::Report& report_;
  hostkit::DialogRecorder& boxes_;
};
