// The wall: N controls side by side in one frame window, each against its own server port,
// timed until every one shows its viewer and counted with none and with all of them, in a
// cold round and warm ones, so that the warm difference is what the controls cost.
#pragma once
#include <objbase.h>

#include "DialogRecorder.h"
#include "Report.h"
#include "WallOptions.h"

class AtlApi;

// 0 when every round started every control in time, else 1.
int RunWall(const WallOptions& o, const CLSID& clsid, const AtlApi& atl, hostkit::Report& report,
            hostkit::DialogRecorder& boxes);
