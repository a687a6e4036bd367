// One page of the soak: a frame window holding ATL's host window, and in it the control,
// created, loaded with the page's <param> values and its server port, attached (which
// activates and starts it) and waited for until it shows its viewer. The page closes when the
// object goes.
#pragma once
#include <objbase.h>
#include <windows.h>

#include <string>

#include "Hosting.h"
#include "Report.h"
#include "WallOptions.h"
#include "WindowHandle.h"

class AtlApi;

class SoakPage {
 public:
  SoakPage(const WallOptions& o, const CLSID& clsid, const AtlApi& atl, const std::wstring& port,
           hostkit::Report& report);
  SoakPage(const SoakPage&) = delete;
  SoakPage& operator=(const SoakPage&) = delete;

  // The control was made and attached and showed its viewer in time.
  bool Started() const { return started_; }
  HWND Control() const { return cell_.window; }

 private:
  // Declared before the frame so that it is released after it: the frame's going takes ATL's
  // window with it, which closes the control, before the last references go.
  Cell cell_;
  WindowHandle frame_;
  bool started_ = false;
};
