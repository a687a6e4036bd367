#include "hosted/win/EventSink.h"

#include <utility>

#include "control/win/VariantConvert.h"
#include "control/win/com/ComObject.h"

namespace pel::win {

HRESULT EventSink::QueryInterfaceImpl(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
      IsEqualIID(iid, iid_)) {
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP EventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) {
  if (ids) {
    for (UINT k = 0; k < count; ++k) ids[k] = DISPID_UNKNOWN;
  }
  return DISP_E_UNKNOWNNAME;
}

STDMETHODIMP EventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                               EXCEPINFO*, UINT*) {
  if (!handler_) return S_OK;
  std::vector<Variant> args;
  if (params && params->rgvarg) {
    // rgvarg holds the arguments last to first.
    for (UINT k = params->cArgs; k > 0; --k) args.push_back(FromComVariant(params->rgvarg[k - 1]));
  }
  // The handler may end this sink's connection: keep it alive to the end of the call.
  const ComponentEvent handler = handler_;
  handler(id, args);
  return S_OK;
}

HRESULT EventConnection::Connect(IUnknown* component, ComponentEvent handler) {
  Disconnect();
  if (!component) return E_POINTER;
  com::ComPtr<IConnectionPointContainer> container;
  HRESULT hr = component->QueryInterface(IID_IConnectionPointContainer, container.PutVoid());
  if (FAILED(hr)) return hr;
  com::ComPtr<IEnumConnectionPoints> points;
  hr = container->EnumConnectionPoints(points.Put());
  if (FAILED(hr)) return hr;
  com::ComPtr<IConnectionPoint> point;
  ULONG fetched = 0;
  if (points->Next(1, point.Put(), &fetched) != S_OK || fetched != 1 || !point) return E_FAIL;
  IID iid;
  hr = point->GetConnectionInterface(&iid);
  if (FAILED(hr)) return hr;
  auto sink = com::MakeComObject<EventSink>(iid, std::move(handler));
  if (!sink) return E_OUTOFMEMORY;
  DWORD cookie = 0;
  hr = point->Advise(static_cast<IDispatch*>(sink.Get()), &cookie);
  if (FAILED(hr)) return hr;
  point_ = std::move(point);
  sink_ = com::ComPtr<IDispatch>(sink.Get());
  events_ = sink.Get();
  cookie_ = cookie;
  return S_OK;
}

void EventConnection::Disconnect() {
  if (events_) events_->Detach();
  if (point_) point_->Unadvise(cookie_);
  point_.Reset();
  sink_.Reset();
  events_ = nullptr;
  cookie_ = 0;
}

}  // namespace pel::win
