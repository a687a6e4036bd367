#include "HostSite.h"

#include <exdisp.h>
#include <olectl.h>
#include <shlguid.h>

#include "PageBrowser.h"
#include "control/win/com/ComObject.h"

namespace pel::host {

HRESULT HostSite::QueryInterfaceImpl(REFIID iid, void** out) {
  static const com::InterfaceEntry<HostSite> kTable[] = {
      {&IID_IOleClientSite, com::CastTo<HostSite, IOleClientSite>},
      {&IID_IOleWindow, com::CastTo<HostSite, IOleInPlaceSite>},
      {&IID_IOleInPlaceSite, com::CastTo<HostSite, IOleInPlaceSite>},
      {&IID_IOleInPlaceUIWindow, com::CastTo<HostSite, IOleInPlaceFrame>},
      {&IID_IOleInPlaceFrame, com::CastTo<HostSite, IOleInPlaceFrame>},
      {&IID_IOleControlSite, com::CastTo<HostSite, IOleControlSite>},
      {&IID_IDispatch, com::CastTo<HostSite, IDispatch>},
      {&IID_IServiceProvider, com::CastTo<HostSite, IServiceProvider>},
  };
  return com::QueryFromTable(this, kTable, iid, out);
}

STDMETHODIMP HostSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker) *moniker = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP HostSite::GetContainer(IOleContainer** container) {
  if (container) *container = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP HostSite::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = window_;
  return S_OK;
}

STDMETHODIMP HostSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc,
                                        LPRECT pos, LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
  if (!frame || !doc || !pos || !clip || !info) return E_POINTER;
  *frame = this;
  static_cast<IOleInPlaceFrame*>(this)->AddRef();
  *doc = nullptr;
  *pos = pos_;
  *clip = pos_;
  info->fMDIApp = FALSE;
  info->hwndFrame = window_;
  info->haccel = nullptr;
  info->cAccelEntries = 0;
  return S_OK;
}

STDMETHODIMP HostSite::OnPosRectChange(LPCRECT pos) {
  if (!pos) return E_POINTER;
  pos_ = *pos;
  return S_OK;
}

STDMETHODIMP HostSite::SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) {
  active_ = com::ComPtr<IOleInPlaceActiveObject>(active);
  return S_OK;
}

STDMETHODIMP HostSite::GetExtendedControl(IDispatch** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP HostSite::GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) {
  if (ids) {
    for (UINT k = 0; k < count; ++k) ids[k] = DISPID_UNKNOWN;
  }
  return DISP_E_UNKNOWNNAME;
}

STDMETHODIMP HostSite::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*,
                              VARIANT* result, EXCEPINFO*, UINT*) {
  if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
  if (!result) return E_POINTER;
  VariantInit(result);
  switch (id) {
    case DISPID_AMBIENT_USERMODE:
      V_VT(result) = VT_BOOL;
      V_BOOL(result) = VARIANT_TRUE;
      return S_OK;
    case DISPID_AMBIENT_UIDEAD:
    case DISPID_AMBIENT_SHOWHATCHING:
    case DISPID_AMBIENT_SHOWGRABHANDLES:
      V_VT(result) = VT_BOOL;
      V_BOOL(result) = VARIANT_FALSE;
      return S_OK;
    case DISPID_AMBIENT_LOCALEID:
      V_VT(result) = VT_I4;
      V_I4(result) = static_cast<LONG>(GetUserDefaultLCID());
      return S_OK;
    default:
      return DISP_E_MEMBERNOTFOUND;
  }
}

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
