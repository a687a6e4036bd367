#pragma once

#include <windows.h>
#include <oleidl.h>

#include <string>

namespace pel::win {

// The security zone of a page URL (SecurityZone of the site lock): MapUrlToZone of the
// IInternetSecurityManager that the client site's service provider offers, else of urlmon's
// own; kZoneUnknown when neither answers.
int MapPageZone(IOleClientSite* site, const std::u16string& url);

}  // namespace pel::win
