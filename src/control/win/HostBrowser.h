#pragma once

#include <windows.h>
#include <exdisp.h>
#include <oleidl.h>

#include <memory>

#include "com/ComPtr.h"
#include "ports/HostBrowser.h"

namespace pel::win {

// The web browser hosting the page, as the core reads it.
class WebBrowserHost final : public IHostBrowser {
 public:
  explicit WebBrowserHost(com::ComPtr<IWebBrowser2> browser) : browser_(std::move(browser)) {}
  std::u16string LocationURL() override;

 private:
  com::ComPtr<IWebBrowser2> browser_;
};

// The hosting browser of a control: its client site's service provider asked for the web
// browser application service with IWebBrowser2. Null without a site or such a service.
std::unique_ptr<WebBrowserHost> FindHostBrowser(IOleClientSite* site);

}  // namespace pel::win
