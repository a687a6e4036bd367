#include "EventRecorder.h"

#include "com/ComObject.h"
#include "com/NoTypeInfo.h"

namespace pel::wintest {

HRESULT EventRecorder::QueryInterfaceImpl(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, iid_)) {
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP EventRecorder::GetTypeInfoCount(UINT* count) { return com::NoTypeInfoCount(count); }

STDMETHODIMP EventRecorder::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  return com::NoTypeInfo(info);
}

STDMETHODIMP EventRecorder::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}

STDMETHODIMP EventRecorder::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                   EXCEPINFO*, UINT*) {
  Event e{id, {}};
  for (UINT k = params ? params->cArgs : 0; k > 0; --k) {
    const VARIANT& v = params->rgvarg[k - 1];
    long value = 0;
    if (V_VT(&v) == VT_I2) value = V_I2(&v);
    if (V_VT(&v) == VT_I4) value = V_I4(&v);
    e.args.push_back({V_VT(&v), value});
  }
  events_.push_back(e);
  return S_OK;
}

HRESULT ConnectEvents(IUnknown* control, EventConnection& connection) {
  com::ComPtr<IProvideClassInfo2> info;
  HRESULT hr = control->QueryInterface(IID_IProvideClassInfo2, info.PutVoid());
  if (FAILED(hr)) return hr;
  IID iid;
  hr = info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &iid);
  if (FAILED(hr)) return hr;
  com::ComPtr<IConnectionPointContainer> points;
  hr = control->QueryInterface(IID_IConnectionPointContainer, points.PutVoid());
  if (FAILED(hr)) return hr;
  hr = points->FindConnectionPoint(iid, connection.point.Put());
  if (FAILED(hr)) return hr;
  auto recorder = com::MakeComObject<EventRecorder>(iid);
  if (!recorder) return E_OUTOFMEMORY;
  connection.recorder = recorder.Get();
  return connection.point->Advise(static_cast<IDispatch*>(recorder.Get()), &connection.cookie);
}

}  // namespace pel::wintest
