// Scripting and initialising safety, as a control of another frame marked safe answers it.
#include "StrictControl.h"

namespace strict {

namespace {
constexpr DWORD kSafeOptions =
    INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;
}  // namespace

STDMETHODIMP StrictControl::GetInterfaceSafetyOptions(REFIID iid, DWORD* supported,
                                                      DWORD* enabled) {
  if (!supported || !enabled) return E_POINTER;
  *supported = 0;
  *enabled = 0;
  IUnknown* asked = nullptr;
  if (FAILED(QueryInterface(iid, reinterpret_cast<void**>(&asked)))) return E_NOINTERFACE;
  asked->Release();
  *supported = kSafeOptions;
  *enabled = safety_;
  return S_OK;
}

STDMETHODIMP StrictControl::SetInterfaceSafetyOptions(REFIID iid, DWORD mask, DWORD enabled) {
  IUnknown* asked = nullptr;
  if (FAILED(QueryInterface(iid, reinterpret_cast<void**>(&asked)))) return E_NOINTERFACE;
  asked->Release();
  if ((mask & ~kSafeOptions) != 0) return E_FAIL;
  safety_ = (safety_ & ~mask) | (enabled & mask);
  return S_OK;
}

}  // namespace strict
