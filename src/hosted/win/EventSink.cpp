#include "hosted/win/EventSink.h"

#include <olectl.h>

#include <utility>

#include "com/VariantConvert.h"
#include "com/ComObject.h"

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

namespace {

// The default source interface named by the component's coclass type information.
bool DefaultSourceFromClassInfo(ITypeInfo* coclass, IID* iid) {
  TYPEATTR* attr = nullptr;
  if (FAILED(coclass->GetTypeAttr(&attr)) || !attr) return false;
  const WORD implemented = attr->typekind == TKIND_COCLASS ? attr->cImplTypes : 0;
  coclass->ReleaseTypeAttr(attr);
  const int wanted = IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE;
  for (WORD k = 0; k < implemented; ++k) {
    int flags = 0;
    if (FAILED(coclass->GetImplTypeFlags(k, &flags)) || (flags & wanted) != wanted) continue;
    HREFTYPE ref = 0;
    com::ComPtr<ITypeInfo> source;
    if (FAILED(coclass->GetRefTypeOfImplType(k, &ref)) ||
        FAILED(coclass->GetRefTypeInfo(ref, source.Put())) || !source) {
      return false;
    }
    TYPEATTR* sourceAttr = nullptr;
    if (FAILED(source->GetTypeAttr(&sourceAttr)) || !sourceAttr) return false;
    *iid = sourceAttr->guid;
    source->ReleaseTypeAttr(sourceAttr);
    return true;
  }
  return false;
}

// The component's default outgoing interface: what IProvideClassInfo2 names, else the
// [default, source] interface of its coclass.
bool FindDefaultSource(IUnknown* component, IID* iid) {
  com::ComPtr<IProvideClassInfo2> info2;
  if (SUCCEEDED(component->QueryInterface(IID_IProvideClassInfo2, info2.PutVoid())) && info2 &&
      SUCCEEDED(info2->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, iid)) &&
      !IsEqualIID(*iid, GUID_NULL)) {
    return true;
  }
  com::ComPtr<IProvideClassInfo> info;
  com::ComPtr<ITypeInfo> coclass;
  if (SUCCEEDED(component->QueryInterface(IID_IProvideClassInfo, info.PutVoid())) && info &&
      SUCCEEDED(info->GetClassInfo(coclass.Put())) && coclass) {
    return DefaultSourceFromClassInfo(coclass.Get(), iid);
  }
  return false;
}

// Without class information: the first point that is not for property change notifications,
// which every frame offers beside the events and which no dispatch sink can serve.
HRESULT FirstEventPoint(IConnectionPointContainer* container, IConnectionPoint** found,
                        IID* iid) {
  com::ComPtr<IEnumConnectionPoints> points;
  HRESULT hr = container->EnumConnectionPoints(points.Put());
  if (FAILED(hr)) return hr;
  if (!points) return E_FAIL;
  for (;;) {
    com::ComPtr<IConnectionPoint> point;
    ULONG fetched = 0;
    if (points->Next(1, point.Put(), &fetched) != S_OK || fetched != 1 || !point) {
      return CONNECT_E_NOCONNECTION;
    }
    if (FAILED(point->GetConnectionInterface(iid)) ||
        IsEqualIID(*iid, IID_IPropertyNotifySink)) {
      continue;
    }
    *found = point.Detach();
    return S_OK;
  }
}

}  // namespace

HRESULT EventConnection::Connect(IUnknown* component, ComponentEvent handler) {
  Disconnect();
  if (!component) return E_POINTER;
  com::ComPtr<IConnectionPointContainer> container;
  HRESULT hr = component->QueryInterface(IID_IConnectionPointContainer, container.PutVoid());
  if (FAILED(hr)) return hr;
  if (!container) return E_NOINTERFACE;
  IID iid = GUID_NULL;
  com::ComPtr<IConnectionPoint> point;
  if (FindDefaultSource(component, &iid)) {
    hr = container->FindConnectionPoint(iid, point.Put());
  } else {
    hr = FirstEventPoint(container.Get(), point.Put(), &iid);
  }
  if (FAILED(hr)) return hr;
  if (!point) return E_FAIL;
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
