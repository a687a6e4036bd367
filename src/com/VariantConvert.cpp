#include "com/VariantConvert.h"

#include <cstring>

#include "com/BStr.h"

namespace pel::win {

HRESULT ToComVariant(const Variant& value, VARIANT* out) {
  VariantInit(out);
  switch (value.vt) {
    case kVtI2:
      V_VT(out) = VT_I2;
      V_I2(out) = static_cast<SHORT>(value.i);
      return S_OK;
    case kVtI4:
      V_VT(out) = VT_I4;
      V_I4(out) = value.i;
      return S_OK;
    case kVtInt:
      V_VT(out) = VT_INT;
      V_INT(out) = value.i;
      return S_OK;
    case kVtUi1:
      V_VT(out) = VT_UI1;
      V_UI1(out) = static_cast<BYTE>(value.i);
      return S_OK;
    case kVtR8:
      V_VT(out) = VT_R8;
      V_R8(out) = value.d;
      return S_OK;
    case kVtBool:
      V_VT(out) = VT_BOOL;
      V_BOOL(out) = value.b ? VARIANT_TRUE : VARIANT_FALSE;
      return S_OK;
    case kVtBstr: {
      BSTR text = com::BStr::FromAnsi(value.text).Detach();
      if (!text) return E_OUTOFMEMORY;
      V_VT(out) = VT_BSTR;
      V_BSTR(out) = text;
      return S_OK;
    }
    case kVtByteArray: {
      SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(value.bytes.size()));
      if (!array) return E_OUTOFMEMORY;
      void* data = nullptr;
      if (!value.bytes.empty() && SUCCEEDED(SafeArrayAccessData(array, &data))) {
        std::memcpy(data, value.bytes.data(), value.bytes.size());
        SafeArrayUnaccessData(array);
      }
      V_VT(out) = VT_ARRAY | VT_UI1;
      V_ARRAY(out) = array;
      return S_OK;
    }
    default:
      return S_OK;
  }
}

namespace {

Variant FromByteArray(SAFEARRAY* array) {
  if (!array || SafeArrayGetDim(array) != 1) return Variant::ByteArray({});
  LONG low = 0;
  LONG high = -1;
  SafeArrayGetLBound(array, 1, &low);
  SafeArrayGetUBound(array, 1, &high);
  std::vector<uint8_t> bytes;
  if (high >= low) {
    bytes.resize(static_cast<size_t>(high - low) + 1);
    void* data = nullptr;
    if (SUCCEEDED(SafeArrayAccessData(array, &data))) {
      std::memcpy(bytes.data(), data, bytes.size());
      SafeArrayUnaccessData(array);
    } else {
      bytes.clear();
    }
  }
  return Variant::ByteArray(std::move(bytes));
}

}  // namespace

Variant FromComVariant(const VARIANT& value) {
  const VARIANT* v = &value;
  if (V_VT(v) == (VT_VARIANT | VT_BYREF)) {
    v = V_VARIANTREF(v);
    if (!v) return Variant{};
  }
  const bool byref = (V_VT(v) & VT_BYREF) != 0;
  switch (V_VT(v) & ~VT_BYREF) {
    case VT_I2:
      return Variant::I2(byref ? *V_I2REF(v) : V_I2(v));
    case VT_I4:
      return Variant::I4(byref ? *V_I4REF(v) : V_I4(v));
    case VT_INT:
      return Variant::Int(byref ? *V_INTREF(v) : V_INT(v));
    case VT_UI1:
      return Variant::Ui1(byref ? *V_UI1REF(v) : V_UI1(v));
    case VT_R8:
      return Variant::R8(byref ? *V_R8REF(v) : V_R8(v));
    case VT_BOOL:
      return Variant::Bool((byref ? *V_BOOLREF(v) : V_BOOL(v)) != VARIANT_FALSE);
    case VT_BSTR: {
      const BSTR text = byref ? *V_BSTRREF(v) : V_BSTR(v);
      return Variant::Bstr(com::AnsiFromWide(text ? text : L"", SysStringLen(text)));
    }
    case VT_ARRAY | VT_UI1:
      return FromByteArray(byref ? *V_ARRAYREF(v) : V_ARRAY(v));
    default:
      return Variant{};
  }
}

}  // namespace pel::win
