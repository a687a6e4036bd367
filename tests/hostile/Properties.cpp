#include "Properties.h"

#include <cstdio>

namespace hostile {

namespace {

const PropertyDef kDefs[kPropertyCount] = {
    {1, L"strIpAddr", VT_BSTR, true, L"", 0},
    {2, L"iHttpPort", VT_I4, true, nullptr, 80},
    {3, L"strIpAddrProxy", VT_BSTR, true, L"", 0},
    {4, L"iHttpPortProxy", VT_I4, true, nullptr, 8080},
    {5, L"iSvrID", VT_I4, true, nullptr, 0},
    {6, L"strUserID", VT_BSTR, true, L"", 0},
    {7, L"strUserPWD", VT_BSTR, true, L"", 0},
    {8, L"iOperPaneCtls", VT_I4, false, nullptr, 0},
    {9, L"bGroup", VT_BOOL, true, nullptr, VARIANT_TRUE},
    {10, L"bTour", VT_BOOL, true, nullptr, VARIANT_TRUE},
    {11, L"bPower", VT_BOOL, true, nullptr, VARIANT_TRUE},
    {12, L"bLight", VT_BOOL, true, nullptr, VARIANT_TRUE},
    {13, L"bAux1", VT_BOOL, true, nullptr, VARIANT_FALSE},
    {14, L"bAux2", VT_BOOL, true, nullptr, VARIANT_TRUE},
};

}  // namespace

const PropertyDef (&Properties())[kPropertyCount] { return kDefs; }

const PropertyDef* FindProperty(DISPID id) {
  for (const PropertyDef& def : kDefs) {
    if (def.id == id) return &def;
  }
  return nullptr;
}

std::string PropValue::Describe() const {
  char out[160];
  if (vt == VT_BSTR) {
    std::string shown;
    for (size_t k = 0; k < text.size() && k < 40; ++k) {
      const wchar_t c = text[k];
      shown += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
    }
    std::snprintf(out, sizeof(out), "BSTR \"%s\"%s (%zu chars)", shown.c_str(),
                  text.size() > 40 ? "..." : "", text.size());
  } else if (vt == VT_I4) {
    std::snprintf(out, sizeof(out), "I4 %ld", static_cast<long>(number));
  } else if (vt == VT_BOOL) {
    std::snprintf(out, sizeof(out), "BOOL %ld", static_cast<long>(number));
  } else {
    std::snprintf(out, sizeof(out), "vt %u", static_cast<unsigned>(vt));
  }
  return out;
}

PropValue DefaultValue(const PropertyDef& def) {
  PropValue v;
  v.vt = def.vt;
  if (def.vt == VT_BSTR) {
    v.text = def.defaultText;
  } else {
    v.number = def.defaultNumber;
  }
  return v;
}

PropValue ValueOf(const VARIANT& v) {
  PropValue out;
  out.vt = V_VT(&v);
  switch (V_VT(&v)) {
    case VT_BSTR:
      if (V_BSTR(&v)) out.text.assign(V_BSTR(&v), SysStringLen(V_BSTR(&v)));
      break;
    case VT_I4:
      out.number = V_I4(&v);
      break;
    case VT_BOOL:
      out.number = V_BOOL(&v);
      break;
    default:
      break;
  }
  return out;
}

HRESULT ReadProperty(IDispatch* control, DISPID id, PropValue& value) {
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  VARIANT result;
  VariantInit(&result);
  const HRESULT hr = control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
                                     &none, &result, nullptr, nullptr);
  if (SUCCEEDED(hr)) value = ValueOf(result);
  VariantClear(&result);
  return hr;
}

HRESULT WriteProperty(IDispatch* control, DISPID id, VARIANT value) {
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params = {&value, &named, 1, 1};
  return control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params,
                         nullptr, nullptr, nullptr);
}

}  // namespace hostile
