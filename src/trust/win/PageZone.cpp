#include "trust/win/PageZone.h"

#include <servprov.h>
#include <urlmon.h>

#include "com/ComPtr.h"
#include "trust/SiteLock.h"

namespace pel::win {

namespace {
// Longer URLs are not handed to the zone mapping; the site lock then decides without a zone.
constexpr std::size_t kMaxZoneUrlUnits = 32 * 1024;

bool MapWith(IInternetSecurityManager* manager, const std::wstring& url, int& zone) {
  DWORD answer = 0;
  // Anything but S_OK, INET_E_DEFAULT_ACTION included, leaves the answer to the next manager.
  if (!manager || manager->MapUrlToZone(url.c_str(), &answer, 0) != S_OK) return false;
  zone = static_cast<int>(answer);
  return true;
}

com::ComPtr<IInternetSecurityManager> SiteManager(IOleClientSite* site) {
  com::ComPtr<IInternetSecurityManager> manager;
  if (!site) return manager;
  com::ComPtr<IServiceProvider> services;
  if (FAILED(site->QueryInterface(IID_IServiceProvider, services.PutVoid())) || !services) {
    return manager;
  }
  if (FAILED(services->QueryService(SID_SInternetSecurityManager, IID_IInternetSecurityManager,
                                    manager.PutVoid()))) {
    manager.Reset();
  }
  return manager;
}
}  // namespace

int MapPageZone(IOleClientSite* site, const std::u16string& url) {
  if (url.empty() || url.size() > kMaxZoneUrlUnits) return kZoneUnknown;
  const std::wstring text(url.begin(), url.end());
  int zone = kZoneUnknown;
  if (MapWith(SiteManager(site).Get(), text, zone)) return zone;
  com::ComPtr<IInternetSecurityManager> own;
  if (SUCCEEDED(CoInternetCreateSecurityManager(nullptr, own.Put(), 0)) &&
      MapWith(own.Get(), text, zone)) {
    return zone;
  }
  return kZoneUnknown;
}

}  // namespace pel::win
