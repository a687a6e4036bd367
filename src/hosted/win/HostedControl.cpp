#include "hosted/win/HostedControl.h"

#include <utility>

#include "com/ComObject.h"
#include "hosted/win/ChildSite.h"
#include "hosted/win/ComponentGuard.h"

namespace pel::win {

HRESULT HostedControl::Create(REFCLSID clsid, HWND parent, const RECT& rect, int id,
                              ComponentEvent events, const HostingContext& hosting) {
  Destroy();
  if (HasKillBit(clsid)) return kComponentBlocked;
  com::ComPtr<IOleObject> object;
  HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                object.PutVoid());
  if (FAILED(hr)) return hr;
  if (hosting.browserPage && !ReportsSafeForPage(object.Get())) return kComponentBlocked;
  auto site = com::MakeComObject<ChildSite>(parent, rect, hosting.controlSite);
  if (!site) return E_OUTOFMEMORY;
  com::ComPtr<IOleClientSite> client(static_cast<IOleClientSite*>(site.Get()));
  hr = object->SetClientSite(client.Get());
  if (FAILED(hr)) return hr;
  object_ = std::move(object);
  site_ = std::move(client);
  siteImpl_ = site.Get();

  // Events first: a component may fire while it activates.
  events_.Connect(object_.Get(), std::move(events));
  RECT pos = rect;
  hr = object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.Get(), 0, parent, &pos);
  if (FAILED(hr)) {
    Destroy();
    return hr;
  }
  com::ComPtr<IOleInPlaceObject> inPlace;
  if (SUCCEEDED(object_.As(IID_IOleInPlaceObject, inPlace))) inPlace->GetWindow(&window_);
  if (window_) {
    SetWindowLongPtrW(window_, GWLP_ID, id);
    ShowWindow(window_, SW_SHOW);
  }
  com::ComPtr<IDispatch> dispatch;
  hr = object_.As(IID_IDispatch, dispatch);
  if (FAILED(hr)) {
    Destroy();
    return hr;
  }
  port_ = std::make_unique<WinDispatchPort>(std::move(dispatch));
  return S_OK;
}

bool HostedControl::Move(const RECT& rect, bool repaint) {
  com::ComPtr<IOleInPlaceObject> inPlace;
  if (!object_ || FAILED(object_.As(IID_IOleInPlaceObject, inPlace)) || !inPlace) return false;
  if (siteImpl_) siteImpl_->OnPosRectChange(&rect);
  inPlace->SetObjectRects(&rect, &rect);
  if (repaint && window_) InvalidateRect(window_, nullptr, TRUE);
  return true;
}

void HostedControl::Destroy() {
  events_.Disconnect();
  port_.reset();
  if (object_) {
    com::ComPtr<IOleInPlaceObject> inPlace;
    if (SUCCEEDED(object_.As(IID_IOleInPlaceObject, inPlace))) inPlace->InPlaceDeactivate();
    object_->Close(OLECLOSE_NOSAVE);
    object_->SetClientSite(nullptr);
  }
  object_.Reset();
  site_.Reset();
  siteImpl_ = nullptr;
  window_ = nullptr;
}

}  // namespace pel::win
