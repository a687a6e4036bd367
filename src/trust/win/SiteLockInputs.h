#pragma once

#include <windows.h>
#include <oleidl.h>

#include "ports/HostBrowser.h"
#include "trust/SiteLock.h"

namespace pel::win {

// What the site lock decides from, for a control on `site` in the page of `browser` (null: no
// hosting browser, and nothing else is looked at). The server host is left to the caller.
SiteLockInputs GatherSiteLockInputs(IOleClientSite* site, IHostBrowser* browser);

}  // namespace pel::win
