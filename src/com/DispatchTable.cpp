#include "com/DispatchTable.h"

#include <cmath>

#include "com/ComVariant.h"

namespace pel::com {

const DispMember* DispatchTable::Find(DISPID id) const {
  for (const DispMember& m : members_) {
    if (m.id == id) return &m;
  }
  return nullptr;
}

const DispMember* DispatchTable::Find(const wchar_t* name) const {
  if (!name) return nullptr;
  for (const DispMember& m : members_) {
    if (lstrcmpiW(m.name.c_str(), name) == 0) return &m;
  }
  return nullptr;
}

HRESULT DispatchTable::GetIDsOfNames(LPOLESTR* names, UINT count, DISPID* ids) const {
  if (!names || !ids) return E_POINTER;
  if (count == 0) return S_OK;
  const DispMember* m = Find(names[0]);
  ids[0] = m ? m->id : DISPID_UNKNOWN;
  // A member's parameters have no names here.
  for (UINT k = 1; k < count; ++k) ids[k] = DISPID_UNKNOWN;
  return (m && count == 1) ? S_OK : DISP_E_UNKNOWNNAME;
}

namespace {

void SetArgErr(UINT* argErr, UINT position) {
  if (argErr) *argErr = position;
}

// A floating-point value that is not a number, also behind a reference.
bool IsNotANumber(const VARIANT& value) {
  const VARIANT* v = &value;
  if (V_VT(v) == (VT_VARIANT | VT_BYREF)) v = V_VARIANTREF(v);
  if (!v) return false;
  switch (V_VT(v)) {
    case VT_R8: return std::isnan(V_R8(v));
    case VT_R8 | VT_BYREF: return V_R8REF(v) && std::isnan(*V_R8REF(v));
    case VT_R4: return std::isnan(V_R4(v));
    case VT_R4 | VT_BYREF: return V_R4REF(v) && std::isnan(*V_R4REF(v));
    default: return false;
  }
}

// The caller learns why a value was refused: out of the type's range (DISP_E_OVERFLOW), out of
// memory, or else not convertible (DISP_E_TYPEMISMATCH).
HRESULT Coerce(const VARIANT& source, VARTYPE type, LCID lcid, ComVariant& out) {
  if (type == VT_VARIANT) return out.CopyFrom(source);
  // A NaN (a script's failed parseInt) has no integer or truth value, yet the conversions
  // make one up: the largest long, or TRUE.
  if (type != VT_BSTR && IsNotANumber(source)) return DISP_E_TYPEMISMATCH;
  const HRESULT hr =
      VariantChangeTypeEx(out.Put(), const_cast<VARIANT*>(&source), lcid, 0, type);
  if (SUCCEEDED(hr) || hr == DISP_E_OVERFLOW || hr == E_OUTOFMEMORY) return hr;
  return DISP_E_TYPEMISMATCH;
}

}  // namespace

HRESULT DispatchTable::Invoke(DispatchTarget& target, DISPID id, LCID lcid, WORD flags,
                              DISPPARAMS* params, VARIANT* result, UINT* argErr) const {
  const DispMember* m = Find(id);
  if (!m) return DISP_E_MEMBERNOTFOUND;
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  if (!params) params = &none;
  if (params->cArgs > 0 && !params->rgvarg) return E_INVALIDARG;
  if (params->cNamedArgs > 0 && !params->rgdispidNamedArgs) return E_INVALIDARG;

  ComVariant local_result;
  VARIANT* out = result ? result : local_result.Get();
  if (result) VariantInit(result);

  if (m->kind == MemberKind::kProperty) {
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
      if (params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
      if (params->cNamedArgs > 1 ||
          (params->cNamedArgs == 1 && params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)) {
        return DISP_E_PARAMNOTFOUND;
      }
      ComVariant value;
      const HRESULT coerced = Coerce(params->rgvarg[0], m->type, lcid, value);
      if (FAILED(coerced)) {
        SetArgErr(argErr, 0);
        return coerced;
      }
      return target.PutMember(*m, *value.Get());
    }
    if (flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)) {
      if (params->cArgs != 0) return DISP_E_BADPARAMCOUNT;
      return target.GetMember(*m, out);
    }
    return DISP_E_MEMBERNOTFOUND;
  }

  if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
  if (params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
  if (params->cArgs != m->params.size()) return DISP_E_BADPARAMCOUNT;
  const UINT count = params->cArgs;
  // rgvarg holds the arguments last to first.
  std::vector<ComVariant> coerced(count);
  std::vector<VARIANT*> args(count, nullptr);
  for (UINT k = 0; k < count; ++k) {
    const UINT position = count - 1 - k;
    VARIANT& given = params->rgvarg[position];
    const VARTYPE wanted = m->params[k];
    if (wanted == (VT_VARIANT | VT_BYREF) && V_VT(&given) == (VT_VARIANT | VT_BYREF) &&
        V_VARIANTREF(&given)) {
      args[k] = V_VARIANTREF(&given);
      continue;
    }
    const HRESULT hr =
        Coerce(given, static_cast<VARTYPE>(wanted & ~VT_BYREF), lcid, coerced[k]);
    if (FAILED(hr)) {
      SetArgErr(argErr, position);
      return hr;
    }
    args[k] = coerced[k].Get();
  }
  return target.CallMember(*m, args, out);
}

}  // namespace pel::com
