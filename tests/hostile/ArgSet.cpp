#include "ArgSet.h"

#include <cstdio>

namespace hostile {

namespace {

void AppendBytes(std::string& out, const void* data, size_t size) {
  out.append(static_cast<const char*>(data), size);
}

void PictureText(std::string& out, BSTR text) {
  AppendBytes(out, &text, sizeof(text));
  if (!text) return;
  const UINT bytes = SysStringByteLen(text);
  AppendBytes(out, &bytes, sizeof(bytes));
  AppendBytes(out, text, bytes);
}

void PictureArray(std::string& out, const SAFEARRAY* array) {
  AppendBytes(out, &array, sizeof(array));
  if (!array) return;
  AppendBytes(out, array, sizeof(SAFEARRAY) - sizeof(SAFEARRAYBOUND));
  AppendBytes(out, array->rgsabound, sizeof(SAFEARRAYBOUND) * array->cDims);
  size_t count = array->cDims > 0 ? 1 : 0;
  for (USHORT d = 0; d < array->cDims; ++d) count *= array->rgsabound[d].cElements;
  if (!array->pvData || count == 0) return;
  AppendBytes(out, array->pvData, count * array->cbElements);
  if (array->fFeatures & FADF_BSTR) {
    const BSTR* texts = static_cast<const BSTR*>(array->pvData);
    for (size_t k = 0; k < count; ++k) PictureText(out, texts[k]);
  } else if (array->fFeatures & FADF_VARIANT) {
    const VARIANT* items = static_cast<const VARIANT*>(array->pvData);
    for (size_t k = 0; k < count; ++k) out += Picture(items[k]);
  }
}

}  // namespace

std::string Picture(const VARIANT& v) {
  std::string out;
  AppendBytes(out, &v, sizeof(v));
  const VARTYPE vt = V_VT(&v);
  if (vt & VT_BYREF) return out;  // the storage it points at is pictured on its own
  if (vt & VT_ARRAY) {
    PictureArray(out, V_ARRAY(&v));
  } else if (vt == VT_BSTR) {
    PictureText(out, V_BSTR(&v));
  }
  return out;
}

std::string VarTypeName(VARTYPE vt) {
  static const char* const kNames[] = {
      "EMPTY", "NULL", "I2",   "I4",  "R4",      "R8",       "CY", "DATE",
      "BSTR",  "DISPATCH", "ERROR", "BOOL", "VARIANT", "UNKNOWN", "DECIMAL", "15",
      "I1",    "UI1",  "UI2",  "UI4", "I8",      "UI8",      "INT", "UINT"};
  std::string out;
  if (vt & VT_BYREF) out += "BYREF|";
  if (vt & VT_ARRAY) out += "ARRAY|";
  if (vt & VT_VECTOR) out += "VECTOR|";
  if (vt & VT_RESERVED) out += "RESERVED|";
  const VARTYPE base = vt & VT_TYPEMASK;
  if (base < sizeof(kNames) / sizeof(kNames[0])) {
    out += kNames[base];
  } else {
    char text[16];
    std::snprintf(text, sizeof(text), "%u", static_cast<unsigned>(base));
    out += text;
  }
  return out;
}

std::string DescribeVariant(const VARIANT& v) {
  const VARTYPE vt = V_VT(&v);
  std::string out = VarTypeName(vt);
  char text[96] = "";
  if (vt & VT_BYREF) {
    if (vt == (VT_VARIANT | VT_BYREF) && V_VARIANTREF(&v)) {
      out += "->" + DescribeVariant(*V_VARIANTREF(&v));
    }
    return out;
  }
  if (vt & VT_ARRAY) {
    const SAFEARRAY* a = V_ARRAY(&v);
    if (!a) return out + "(null)";
    out += "[";
    for (USHORT d = 0; d < a->cDims; ++d) {
      std::snprintf(text, sizeof(text), "%s%lu", d ? "x" : "",
                    static_cast<unsigned long>(a->rgsabound[d].cElements));
      out += text;
    }
    return out + "]";
  }
  switch (vt) {
    case VT_I4:
    case VT_INT:
      std::snprintf(text, sizeof(text), "(%ld)", static_cast<long>(V_I4(&v)));
      break;
    case VT_BOOL:
      std::snprintf(text, sizeof(text), "(%d)", V_BOOL(&v));
      break;
    case VT_R8:
    case VT_DATE:
      std::snprintf(text, sizeof(text), "(%g)", V_R8(&v));
      break;
    case VT_BSTR:
      if (!V_BSTR(&v)) {
        std::snprintf(text, sizeof(text), "(null)");
      } else {
        std::snprintf(text, sizeof(text), "(%u chars)", SysStringLen(V_BSTR(&v)));
      }
      break;
    case VT_DISPATCH:
    case VT_UNKNOWN:
      std::snprintf(text, sizeof(text), "(%s)", V_UNKNOWN(&v) ? "driver's" : "null");
      break;
    default:
      break;
  }
  return out + text;
}

ArgSet::~ArgSet() { Release(); }

VARIANT* ArgSet::AddArg() {
  args_.emplace_back();
  VariantInit(&args_.back());
  return &args_.back();
}

VARIANT* ArgSet::AddTarget() {
  targets_.push_back(std::make_unique<VARIANT>());
  VariantInit(targets_.back().get());
  return targets_.back().get();
}

void ArgSet::Snapshot() {
  before_.clear();
  for (const VARIANT& v : args_) before_.push_back(Picture(v));
  for (const auto& t : targets_) before_.push_back(Picture(*t));
}

std::string ArgSet::Changed() const {
  size_t k = 0;
  for (size_t a = 0; a < args_.size(); ++a, ++k) {
    if (Picture(args_[a]) != before_[k]) {
      return "argument " + std::to_string(a) + " of rgvarg (" + DescribeVariant(args_[a]) +
             " now) was changed";
    }
  }
  for (size_t t = 0; t < targets_.size(); ++t, ++k) {
    if (Picture(*targets_[t]) != before_[k]) {
      return "the storage of by-reference argument " + std::to_string(t) + " (" +
             DescribeVariant(*targets_[t]) + " now) was changed";
    }
  }
  return {};
}

std::string ArgSet::Release() {
  if (released_) return {};
  released_ = true;
  std::string failures;
  auto clear = [&failures](VARIANT* v) {
    const VARTYPE vt = V_VT(v);
    const HRESULT hr = VariantClear(v);
    // VariantClear refuses types no VARIANT may hold; the driver made those on purpose.
    if (FAILED(hr) && hr != DISP_E_BADVARTYPE) {
      char text[96];
      std::snprintf(text, sizeof(text), "VariantClear of %s failed (0x%08lx); ",
                    VarTypeName(vt).c_str(), static_cast<unsigned long>(hr));
      failures += text;
    }
  };
  for (VARIANT& v : args_) clear(&v);
  for (auto& t : targets_) clear(t.get());
  return failures;
}

std::string ArgSet::Describe() const {
  std::string out = "[";
  // rgvarg holds the arguments last to first: show them in the script's order.
  for (size_t k = args_.size(); k-- > 0;) {
    out += DescribeVariant(args_[k]);
    if (k) out += ", ";
  }
  return out + "]";
}

}  // namespace hostile
