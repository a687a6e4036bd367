#pragma once

#include <windows.h>
#include <ocidl.h>

#include <vector>

#include "com/ComPtr.h"

namespace pel::win {

// The control's property page CPelioranPropPage: dialog 200 with a placeholder text. It
// exchanges no properties, so Apply changes nothing and the page is never dirty.
class PelioranPropPage : public IPropertyPage {
 public:
  PelioranPropPage() = default;
  virtual ~PelioranPropPage();

  HRESULT QueryInterfaceImpl(REFIID iid, void** out);

  STDMETHODIMP SetPageSite(IPropertyPageSite* site) override;
  STDMETHODIMP Activate(HWND parent, LPCRECT rect, BOOL modal) override;
  STDMETHODIMP Deactivate() override;
  STDMETHODIMP GetPageInfo(PROPPAGEINFO* info) override;
  STDMETHODIMP SetObjects(ULONG count, IUnknown** objects) override;
  STDMETHODIMP Show(UINT cmdShow) override;
  STDMETHODIMP Move(LPCRECT rect) override;
  STDMETHODIMP IsPageDirty() override;
  STDMETHODIMP Apply() override;
  STDMETHODIMP Help(LPCOLESTR helpDir) override;
  STDMETHODIMP TranslateAccelerator(MSG* msg) override;

 private:
  com::ComPtr<IPropertyPageSite> site_;
  std::vector<com::ComPtr<IUnknown>> objects_;
  HWND dialog_ = nullptr;
};

HRESULT CreatePelioranPropPage(REFIID iid, void** out);

}  // namespace pel::win
