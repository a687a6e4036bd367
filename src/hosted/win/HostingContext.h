#pragma once

#include <windows.h>
#include <oleidl.h>

#include "com/ComPtr.h"

namespace pel::win {

// What the control tells the hosting of its components about its own place: its client site,
// whose services a component may ask for through the site it gets, and whether a web page in
// a browser hosts the control (a page is not trusted to script or initialise components that
// do not say they are safe for it).
struct HostingContext {
  com::ComPtr<IOleClientSite> controlSite;
  bool browserPage = false;
};

}  // namespace pel::win
