// The component as an OLE object: its client site and the ambient properties read from it,
// verbs and in-place activation, extent and advise sinks.
#include <olectl.h>

#include "StrictControl.h"
#include "StrictLog.h"

namespace strict {

STDMETHODIMP StrictControl::SetClientSite(IOleClientSite* site) {
  clientSite_ = ComRef<IOleClientSite>::Retain(site);
  if (site) ReadAmbients();
  return S_OK;
}

STDMETHODIMP StrictControl::GetClientSite(IOleClientSite** site) {
  if (!site) return E_POINTER;
  *site = ComRef<IOleClientSite>(clientSite_).Detach();
  return S_OK;
}

STDMETHODIMP StrictControl::OnAmbientPropertyChange(DISPID) {
  if (clientSite_) ReadAmbients();
  return S_OK;
}

// The ambient properties controls of every frame ask for, each logged with its answer (or
// the failure: a site need not serve them).
void StrictControl::ReadAmbients() {
  static const DISPID kAmbients[] = {DISPID_AMBIENT_USERMODE, DISPID_AMBIENT_BACKCOLOR,
                                     DISPID_AMBIENT_FORECOLOR, DISPID_AMBIENT_FONT};
  const ComRef<IDispatch> ambient = clientSite_.Query<IDispatch>(IID_IDispatch);
  for (const DISPID id : kAmbients) {
    OwnedVariant value;
    HRESULT hr = E_NOINTERFACE;
    if (ambient) {
      DISPPARAMS none = {nullptr, nullptr, 0, 0};
      hr = ambient->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                           value.Ptr(), nullptr, nullptr);
    }
    std::string text = SUCCEEDED(hr) ? ValueText(value.Get()) : HresultText(hr);
    if (SUCCEEDED(hr) && V_VT(&value.Get()) == VT_DISPATCH && V_DISPATCH(&value.Get())) {
      // A font: its face name.
      const ComRef<IFont> font =
          ComRef<IDispatch>::Retain(V_DISPATCH(&value.Get())).Query<IFont>(IID_IFont);
      BSTR name = nullptr;
      if (font && SUCCEEDED(font->get_Name(&name)) && name) {
        VARIANT face;
        V_VT(&face) = VT_BSTR;
        V_BSTR(&face) = name;
        text = ValueText(face);
        SysFreeString(name);
      }
    }
    LogLine(Component(), id, L"ambient", "ambient", text,
            std::to_string(SUCCEEDED(hr) ? V_VT(&value.Get()) : VARTYPE{VT_EMPTY}));
  }
}

STDMETHODIMP StrictControl::Close(DWORD) {
  InPlaceDeactivate();
  if (oleAdvise_) oleAdvise_->SendOnClose();
  return S_OK;
}

STDMETHODIMP StrictControl::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker) *moniker = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP StrictControl::GetClipboardData(DWORD, IDataObject** data) {
  if (data) *data = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP StrictControl::DoVerb(LONG verb, LPMSG, IOleClientSite* activeSite, LONG, HWND,
                                   LPCRECT) {
  switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
      return InPlaceActivate(activeSite, false);
    case OLEIVERB_UIACTIVATE:
      return InPlaceActivate(activeSite, true);
    case OLEIVERB_HIDE:
      if (Window()) ShowWindow(Window(), SW_HIDE);
      return S_OK;
    default:
      if (verb < 0) return E_NOTIMPL;
      // An unknown verb of the object's own: the primary one instead.
      return SUCCEEDED(InPlaceActivate(activeSite, false)) ? OLEOBJ_S_INVALIDVERB : E_FAIL;
  }
}

// In the site's window, at the place the site's GetWindowContext gives (not the rectangle
// DoVerb was handed), as the usual frames do.
HRESULT StrictControl::InPlaceActivate(IOleClientSite* activeSite, bool uiActivate) {
  if (!Window()) {
    ComRef<IOleInPlaceSite> site = clientSite_.Query<IOleInPlaceSite>(IID_IOleInPlaceSite);
    if (!site) {
      site = ComRef<IOleClientSite>::Retain(activeSite).Query<IOleInPlaceSite>(IID_IOleInPlaceSite);
    }
    if (!site) return E_NOINTERFACE;
    if (site->CanInPlaceActivate() != S_OK) return E_FAIL;
    site->OnInPlaceActivate();
    HWND parent = nullptr;
    RECT pos = {0, 0, 0, 0};
    HRESULT hr = site->GetWindow(&parent);
    if (SUCCEEDED(hr) && !parent) hr = E_FAIL;
    if (SUCCEEDED(hr)) hr = SitePosition(site.Get(), &pos);
    if (FAILED(hr)) {
      site->OnInPlaceDeactivate();
      return hr;
    }
    LogSiteRect("GetWindowContext", pos);
    placed_ = pos;
    placing_ = true;
    const bool made = window_.Create(parent, pos, this);
    placing_ = false;
    if (!made) {
      site->OnInPlaceDeactivate();
      return E_FAIL;
    }
    inPlaceSite_ = std::move(site);
    if (!pending_.empty()) PostMessageW(Window(), kWmFireEvents, 0, 0);
  }
  if (uiActivate && !uiActive_ && inPlaceSite_) {
    uiActive_ = true;
    inPlaceSite_->OnUIActivate();
  }
  return S_OK;
}

// The position rectangle of the site's GetWindowContext (the frame and document windows it
// hands out are not used).
HRESULT StrictControl::SitePosition(IOleInPlaceSite* site, RECT* pos) {
  ComRef<IOleInPlaceFrame> frame;
  ComRef<IOleInPlaceUIWindow> document;
  RECT clip = {0, 0, 0, 0};
  OLEINPLACEFRAMEINFO frameInfo = {};
  frameInfo.cb = sizeof(frameInfo);
  return site->GetWindowContext(frame.Put(), document.Put(), pos, &clip, &frameInfo);
}

STDMETHODIMP StrictControl::GetUserClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = *info_.clsid;
  return S_OK;
}

STDMETHODIMP StrictControl::SetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!size) return E_POINTER;
  extent_ = *size;
  return S_OK;
}

STDMETHODIMP StrictControl::GetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!size) return E_POINTER;
  *size = extent_;
  return S_OK;
}

STDMETHODIMP StrictControl::Advise(IAdviseSink* sink, DWORD* cookie) {
  if (!oleAdvise_) {
    const HRESULT hr = CreateOleAdviseHolder(oleAdvise_.Put());
    if (FAILED(hr)) return hr;
  }
  return oleAdvise_->Advise(sink, cookie);
}

STDMETHODIMP StrictControl::Unadvise(DWORD cookie) {
  return oleAdvise_ ? oleAdvise_->Unadvise(cookie) : OLE_E_NOCONNECTION;
}

STDMETHODIMP StrictControl::EnumAdvise(IEnumSTATDATA** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  return oleAdvise_ ? oleAdvise_->EnumAdvise(out) : E_FAIL;
}

STDMETHODIMP StrictControl::GetMiscStatus(DWORD aspect, DWORD* status) {
  if (!status) return E_POINTER;
  *status = 0;
  if (aspect != DVASPECT_CONTENT) return S_OK;
  *status = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT |
            OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST;
  return S_OK;
}

}  // namespace strict
