// The soak: one control in a page that is reloaded (closed, and made, loaded, attached and
// started again) every reload_every steps, a pane command per step (SoakSteps), and the
// process's counts every sample_every steps, taken between two pages. Each page is served
// by the next of the ports.
//
// Reports "step N WHAT" per step, "sample STEP counts..." per sample, "error start|step N"
// for a page that did not start or a step that failed, the message boxes, and at the end
// "soak STEPS RELOADS MS FAILURES", "unload 0 HRESULT" and "loaded 0 0|1".
#pragma once
#include <objbase.h>

#include "DialogRecorder.h"
#include "Report.h"
#include "WallOptions.h"

class AtlApi;

// 0 when every page started and every step did what it should, else 1.
int RunSoak(const WallOptions& o, const CLSID& clsid, const AtlApi& atl, hostkit::Report& report,
            hostkit::DialogRecorder& boxes);
