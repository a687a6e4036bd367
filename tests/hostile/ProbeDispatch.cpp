#include "ProbeDispatch.h"

#include "Verdict.h"

namespace hostile {

STDMETHODIMP ProbeDispatch::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP ProbeDispatch::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP ProbeDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return DISP_E_BADINDEX;
}

STDMETHODIMP ProbeDispatch::GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) {
  for (UINT k = 0; ids && k < count; ++k) ids[k] = DISPID_UNKNOWN;
  return DISP_E_UNKNOWNNAME;
}

STDMETHODIMP ProbeDispatch::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*,
                                   VARIANT* result, EXCEPINFO*, UINT*) {
  if (id != DISPID_VALUE || !(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
  if (reentry_ && ++asked_ % 3 == 0) {
    ++reentries_;
    reentry_();
  }
  if (!result) return S_OK;
  VariantInit(result);
  switch (answer_) {
    case Answer::kNumber:
      V_VT(result) = VT_I4;
      V_I4(result) = 4242;
      return S_OK;
    case Answer::kText:
      V_VT(result) = VT_BSTR;
      V_BSTR(result) = SysAllocString(L"probe text");
      return S_OK;
    case Answer::kBool:
      V_VT(result) = VT_BOOL;
      V_BOOL(result) = VARIANT_TRUE;
      return S_OK;
    case Answer::kFails:
      return DISP_E_MEMBERNOTFOUND;
    case Answer::kEmpty:
      return S_OK;
  }
  return S_OK;
}

ProbePool::ProbePool() {
  const ProbeDispatch::Answer answers[] = {
      ProbeDispatch::Answer::kNumber, ProbeDispatch::Answer::kText,
      ProbeDispatch::Answer::kBool, ProbeDispatch::Answer::kFails,
      ProbeDispatch::Answer::kEmpty};
  for (size_t k = 0; k < probes_.size(); ++k) {
    probes_[k] = std::make_unique<ProbeDispatch>(answers[k], reentry_, reentries_);
  }
}

void ProbePool::Check(const char* when) {
  for (auto& probe : probes_) {
    RefCounter& count = probe->Count();
    if (count.OverReleased()) {
      Fault("%s: the driver's IDispatch was released more often than referenced (count %ld)",
            when, count.Refs());
      count.Reset();
    } else if (count.Refs() != 1) {
      Fault("%s: the control kept %ld reference(s) to the driver's IDispatch", when,
            count.Refs() - 1);
      // The control may still call it: leave that one allocated and go on with a new one.
      const ProbeDispatch::Answer answer = probe->Kind();
      probe.release();
      probe = std::make_unique<ProbeDispatch>(answer, reentry_, reentries_);
    }
  }
}

}  // namespace hostile
