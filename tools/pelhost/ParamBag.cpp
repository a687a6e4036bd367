#include "ParamBag.h"

#include "com/BStr.h"
#include "com/ComObject.h"
#include "com/ComVariant.h"
#include "comtext/VariantText.h"

namespace pel::host {

HRESULT ParamBag::QueryInterfaceImpl(REFIID iid, void** out) {
  static const com::InterfaceEntry<ParamBag> kTable[] = {
      {&IID_IPropertyBag, com::CastTo<ParamBag, IPropertyBag>},
  };
  return com::QueryFromTable(this, kTable, iid, out);
}

STDMETHODIMP ParamBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
  if (!name || !value) return E_POINTER;
  const std::string wanted = com::AnsiFromWide(name, lstrlenW(name));
  for (const auto& [key, text] : params_) {
    if (lstrcmpiA(key.c_str(), wanted.c_str()) != 0) continue;
    const VARTYPE type = V_VT(value);
    com::ComVariant given;
    V_VT(given.Get()) = VT_BSTR;
    V_BSTR(given.Get()) = com::BStr::FromAnsi(text).Detach();
    if (type == VT_EMPTY || type == VT_BSTR) {
      VariantClear(value);
      given.MoveTo(value);
      return S_OK;
    }
    if (FAILED(given.ChangeType(type))) return E_FAIL;
    VariantClear(value);
    given.MoveTo(value);
    return S_OK;
  }
  return E_INVALIDARG;
}

STDMETHODIMP ParamBag::Write(LPCOLESTR name, VARIANT* value) {
  if (!name || !value) return E_POINTER;
  const std::string key = com::AnsiFromWide(name, lstrlenW(name));
  const std::string text = com::VariantText(*value);
  for (auto& param : params_) {
    if (lstrcmpiA(param.first.c_str(), key.c_str()) == 0) {
      param.second = text;
      return S_OK;
    }
  }
  params_.emplace_back(key, text);
  return S_OK;
}

}  // namespace pel::host
