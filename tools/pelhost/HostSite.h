#pragma once

#include <windows.h>
#include <exdisp.h>

#include <string>

#include "com/ComPtr.h"
#include "hosted/win/ChildSite.h"

namespace pel::host {

// pelhost's side of the embedding: the site the control's own hosted components get (client,
// in-place and control site, frame, ambient properties) and, with a page URL, the service
// provider that answers the web browser application service like a hosting browser does.
class HostSite : public win::ChildSite {
 public:
  HostSite(HWND window, const RECT& pos, std::wstring url)
      : ChildSite(window, pos), url_(std::move(url)) {}

  // IServiceProvider
  STDMETHODIMP QueryService(REFGUID service, REFIID iid, void** out) override;

 private:
  std::wstring url_;
  com::ComPtr<IWebBrowser2> browser_;
};

}  // namespace pel::host
