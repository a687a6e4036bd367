// One life of the control in ATL's host: created through the registry, given its <param>
// values, attached to an AtlAxWin window (ATL's site in-place activates it), driven by the
// actions, and torn down the way an application closes its window.
#pragma once
#include <windows.h>

#include "DialogRecorder.h"
#include "Options.h"
#include "Report.h"

class AtlApi;

// False when the control could not be created or attached.
bool RunHostCycle(const Options& options, const CLSID& control, const AtlApi& atl, bool spy,
                  hostkit::Report& report, hostkit::DialogRecorder& boxes);

// "unload CLSID HRESULT" for each class whose DLL is loaded: DllCanUnloadNow's answer.
void ReportUnloadChecks(const Options& options, hostkit::Report& report);
