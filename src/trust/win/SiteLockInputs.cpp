#include "trust/win/SiteLockInputs.h"

#include "trust/win/AllowedSitesPolicy.h"
#include "trust/win/PageZone.h"

namespace pel::win {

SiteLockInputs GatherSiteLockInputs(IOleClientSite* site, IHostBrowser* browser) {
  SiteLockInputs inputs;
  if (!browser) return inputs;
  inputs.pageUrl = browser->LocationURL();
  inputs.zone = MapPageZone(site, *inputs.pageUrl);
  inputs.allowedSites = ReadAllowedSitesPolicy();
  return inputs;
}

}  // namespace pel::win
