#include "control/win/HostBrowser.h"

#include <servprov.h>
#include <shlguid.h>

#include "com/BStr.h"

namespace pel::win {

std::u16string WebBrowserHost::LocationURL() {
  com::BStr url;
  if (FAILED(browser_->get_LocationURL(url.Put())) || !url.Get()) return {};
  const BSTR text = url.Get();
  return std::u16string(reinterpret_cast<const char16_t*>(text), url.Length());
}

std::unique_ptr<WebBrowserHost> FindHostBrowser(IOleClientSite* site) {
  if (!site) return nullptr;
  com::ComPtr<IServiceProvider> services;
  if (FAILED(site->QueryInterface(IID_IServiceProvider, services.PutVoid()))) return nullptr;
  com::ComPtr<IWebBrowser2> browser;
  if (FAILED(services->QueryService(SID_SWebBrowserApp, IID_IWebBrowser2, browser.PutVoid())) ||
      !browser) {
    return nullptr;
  }
  return std::make_unique<WebBrowserHost>(std::move(browser));
}

}  // namespace pel::win
