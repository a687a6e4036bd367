#include "ParamPropertyBag.h"

#include <oleauto.h>

HRESULT ParamPropertyBag::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IPropertyBag) {
    *out = static_cast<IPropertyBag*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG ParamPropertyBag::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }

ULONG ParamPropertyBag::Release() {
  LONG left = InterlockedDecrement(&refs_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT ParamPropertyBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
  if (!name || !value) return E_POINTER;
  reads_.emplace_back(name);
  for (const auto& [key, text] : params_) {
    if (CompareStringOrdinal(key.c_str(), -1, name, -1, TRUE) != CSTR_EQUAL) continue;
    VARTYPE wanted = V_VT(value);
    VARIANT given;
    VariantInit(&given);
    V_VT(&given) = VT_BSTR;
    V_BSTR(&given) = SysAllocString(text.c_str());
    if (!V_BSTR(&given)) return E_OUTOFMEMORY;
    if (wanted == VT_EMPTY || wanted == VT_BSTR) {
      VariantClear(value);
      *value = given;
      return S_OK;
    }
    VariantClear(value);
    HRESULT hr = VariantChangeType(value, &given, 0, wanted);
    VariantClear(&given);
    return hr;
  }
  return E_INVALIDARG;
}

HRESULT ParamPropertyBag::Write(LPCOLESTR, VARIANT*) { return E_NOTIMPL; }
