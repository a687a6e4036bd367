#include "comtext/VariantText.h"

#include <cstdio>

#include "com/BStr.h"

namespace pel::com {

namespace {

std::string Escaped(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\\': out += "\\\\"; break;
      default: out += c; break;
    }
  }
  return out;
}

std::string ArrayText(SAFEARRAY* array) {
  LONG low = 0;
  LONG high = -1;
  if (array) {
    SafeArrayGetLBound(array, 1, &low);
    SafeArrayGetUBound(array, 1, &high);
  }
  return "<" + std::to_string(high - low + 1) + " bytes>";
}

}  // namespace

std::string VariantText(const VARIANT& value) {
  const VARIANT* v = &value;
  if (V_VT(v) == (VT_VARIANT | VT_BYREF)) v = V_VARIANTREF(v);
  if (!v) return "";
  switch (V_VT(v)) {
    case VT_EMPTY: return "";
    case VT_BOOL: return V_BOOL(v) ? "TRUE" : "FALSE";
    case VT_I2: return std::to_string(V_I2(v));
    case VT_I4: return std::to_string(V_I4(v));
    case VT_INT: return std::to_string(V_INT(v));
    case VT_UI1: return std::to_string(V_UI1(v));
    case VT_R8: {
      char text[64];
      std::snprintf(text, sizeof(text), "%g", V_R8(v));
      return text;
    }
    case VT_BSTR:
      return Escaped(AnsiFromWide(V_BSTR(v) ? V_BSTR(v) : L"", SysStringLen(V_BSTR(v))));
    case VT_ARRAY | VT_UI1: return ArrayText(V_ARRAY(v));
    default: return "<vt " + std::to_string(V_VT(v)) + ">";
  }
}

}  // namespace pel::com
