#pragma once

#include <windows.h>
#include <oaidl.h>

#include <cstdint>
#include <string>

namespace hostile {

// What the driver knows of the control from outside: its dispatch members, their types and
// the values a new control starts with.
struct PropertyDef {
  DISPID id;
  const wchar_t* name;
  VARTYPE vt;  // VT_BSTR, VT_I4 or VT_BOOL
  bool persisted;
  const wchar_t* defaultText;
  int32_t defaultNumber;  // VT_BOOL: VARIANT_TRUE or VARIANT_FALSE
};

constexpr size_t kPropertyCount = 14;
constexpr DISPID kDispidAboutBox = -552;
const PropertyDef (&Properties())[kPropertyCount];
const PropertyDef* FindProperty(DISPID id);

// A property's value as read back.
struct PropValue {
  VARTYPE vt = VT_EMPTY;
  std::wstring text;
  int32_t number = 0;

  bool operator==(const PropValue& other) const {
    return vt == other.vt && text == other.text && number == other.number;
  }
  bool operator!=(const PropValue& other) const { return !(*this == other); }
  std::string Describe() const;
};

PropValue DefaultValue(const PropertyDef& def);
// The value of a VARIANT of the property's type.
PropValue ValueOf(const VARIANT& v);

// A plain property get; the HRESULT, and the value when it succeeded.
HRESULT ReadProperty(IDispatch* control, DISPID id, PropValue& value);
// A plain property put.
HRESULT WriteProperty(IDispatch* control, DISPID id, VARIANT value);

}  // namespace hostile
