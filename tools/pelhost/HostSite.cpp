#include "HostSite.h"

#include <shlguid.h>

#include "PageBrowser.h"
#include "com/ComObject.h"

namespace pel::host {

STDMETHODIMP HostSite::QueryService(REFGUID service, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  // Only a host posing as a web browser offers the browser service.
  if (url_.empty() || !IsEqualGUID(service, SID_SWebBrowserApp)) return E_NOINTERFACE;
  if (!browser_) {
    auto browser = com::MakeComObject<PageBrowser>(url_);
    if (!browser) return E_OUTOFMEMORY;
    browser_ = com::ComPtr<IWebBrowser2>(browser.Get());
  }
  return browser_->QueryInterface(iid, out);
}

}  // namespace pel::host
