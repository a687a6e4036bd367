#include "PageBrowser.h"

#include "com/ComObject.h"

namespace pel::host {

namespace {
// IWebBrowser's LocationURL property.
constexpr DISPID kDispidLocationUrl = 211;
}  // namespace

HRESULT PageBrowser::QueryInterfaceImpl(REFIID iid, void** out) {
  static const com::InterfaceEntry<PageBrowser> kTable[] = {
      {&IID_IWebBrowser2, com::CastTo<PageBrowser, IWebBrowser2>},
      {&IID_IWebBrowserApp, com::CastTo<PageBrowser, IWebBrowser2>},
      {&IID_IWebBrowser, com::CastTo<PageBrowser, IWebBrowser2>},
      {&IID_IDispatch, com::CastTo<PageBrowser, IWebBrowser2>},
  };
  return com::QueryFromTable(this, kTable, iid, out);
}

STDMETHODIMP PageBrowser::get_LocationURL(BSTR* url) {
  if (!url) return E_POINTER;
  *url = SysAllocStringLen(url_.data(), static_cast<UINT>(url_.size()));
  return *url ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP PageBrowser::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                        DISPID* ids) {
  if (!names || !ids) return E_POINTER;
  for (UINT k = 0; k < count; ++k) ids[k] = DISPID_UNKNOWN;
  if (count == 1 && lstrcmpiW(names[0], L"LocationURL") == 0) {
    ids[0] = kDispidLocationUrl;
    return S_OK;
  }
  return DISP_E_UNKNOWNNAME;
}

STDMETHODIMP PageBrowser::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*,
                                 VARIANT* result, EXCEPINFO*, UINT*) {
  if (id != kDispidLocationUrl || !(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
  if (!result) return E_POINTER;
  VariantInit(result);
  V_VT(result) = VT_BSTR;
  return get_LocationURL(&V_BSTR(result));
}

}  // namespace pel::host
