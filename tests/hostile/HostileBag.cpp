#include "HostileBag.h"

#include <cstdint>

namespace hostile {

HostileBag::~HostileBag() {
  for (Entry& e : entries_) VariantClear(&e.value);
  for (Written& w : writes_) VariantClear(&w.value);
}

void HostileBag::Deal(const std::wstring& name, Answer answer, HRESULT hr, VARIANT* value) {
  Entry e;
  e.name = name;
  e.answer = answer;
  e.hr = hr;
  e.value = *value;
  VariantInit(value);
  entries_.push_back(e);
}

const HostileBag::Entry* HostileBag::Find(const wchar_t* name) const {
  // Names compare as a browser compares <param> names: without regard to case.
  for (const Entry& e : entries_) {
    if (lstrcmpiW(e.name.c_str(), name) == 0) return &e;
  }
  return nullptr;
}

STDMETHODIMP HostileBag::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPropertyBag)) {
    *out = static_cast<IPropertyBag*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP HostileBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
  if (!name || !value) {
    misuse_ += "Read with a null name or VARIANT; ";
    return E_POINTER;
  }
  // The caller may ask for a type through V_VT; anything it holds beyond that would be
  // overwritten, and lost.
  const VARTYPE wanted = V_VT(value);
  if (wanted == VT_BSTR || wanted == VT_DISPATCH || wanted == VT_UNKNOWN ||
      (wanted & (VT_ARRAY | VT_BYREF))) {
    misuse_ += "Read into a VARIANT that holds something; ";
  }
  if (readCount_++ == reenterAt_ && reentry_) reentry_();
  const Entry* e = Find(name);
  if (!e) return E_INVALIDARG;
  switch (e->answer) {
    case Answer::kFail:
      return e->hr;
    case Answer::kFailDirty:
      VariantInit(value);
      V_VT(value) = VT_I4;
      V_I4(value) = 31337;
      return e->hr;
    case Answer::kValue:
      break;
  }
  VariantInit(value);
  HRESULT hr = VariantCopy(value, const_cast<VARIANT*>(&e->value));
  if (FAILED(hr)) return hr;
  // Asked for a type: give that type, as a browser's bag does.
  if (wanted != VT_EMPTY && wanted != V_VT(value)) {
    hr = VariantChangeType(value, value, 0, wanted);
    if (FAILED(hr)) {
      VariantClear(value);
      return hr;
    }
  }
  return S_OK;
}

STDMETHODIMP HostileBag::Write(LPCOLESTR name, VARIANT* value) {
  if (!name || !value) {
    misuse_ += "Write with a null name or VARIANT; ";
    return E_POINTER;
  }
  if (writeCount_++ == failWrite_) {
    writeFailed_ = true;
    return failWriteHr_;
  }
  Written w;
  w.name = name;
  VariantInit(&w.value);
  const HRESULT hr = VariantCopy(&w.value, value);
  if (FAILED(hr)) {
    misuse_ += "Write of a VARIANT that VariantCopy refuses; ";
    return hr;
  }
  writes_.push_back(w);
  return S_OK;
}

}  // namespace hostile
