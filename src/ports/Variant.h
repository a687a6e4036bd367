#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace pel {

// Type tags of a VARIANT, with the numbers COM gives them (VT_EMPTY, VT_I2, ...). Named apart
// from the Windows enumerators so that both can be seen in one translation unit.
enum VarType : uint16_t {
  kVtEmpty = 0,
  kVtI2 = 2,
  kVtI4 = 3,
  kVtR8 = 5,
  kVtBstr = 8,
  kVtBool = 11,
  kVtUi1 = 17,
  kVtInt = 22,
  kVtArray = 0x2000,
  kVtByteArray = kVtArray | kVtUi1,
};

// A VARIANT as the portable core passes it to and from hosted components: the type tag and
// the value in the member that type uses. Texts are in the ANSI code page; the Windows shell
// converts them to and from BSTR.
struct Variant {
  uint16_t vt = kVtEmpty;
  int32_t i = 0;               // VT_I2, VT_I4, VT_INT, VT_UI1
  double d = 0.0;              // VT_R8
  bool b = false;              // VT_BOOL
  std::string text;            // VT_BSTR
  std::vector<uint8_t> bytes;  // VT_ARRAY | VT_UI1
  // As a method argument: passed as a VARIANT* that the component may write into, for the
  // parameters a contract declares so. Every other argument goes by value with its own type.
  bool byRef = false;

  static Variant Empty() { return Variant{}; }
  static Variant I2(int16_t value) { return Integer(kVtI2, value); }
  static Variant I4(int32_t value) { return Integer(kVtI4, value); }
  static Variant Int(int32_t value) { return Integer(kVtInt, value); }
  static Variant Ui1(uint8_t value) { return Integer(kVtUi1, value); }
  static Variant R8(double value) {
    Variant v;
    v.vt = kVtR8;
    v.d = value;
    return v;
  }
  static Variant Bool(bool value) {
    Variant v;
    v.vt = kVtBool;
    v.b = value;
    return v;
  }
  static Variant Bstr(std::string value) {
    Variant v;
    v.vt = kVtBstr;
    v.text = std::move(value);
    return v;
  }
  static Variant ByteArray(std::vector<uint8_t> value) {
    Variant v;
    v.vt = kVtByteArray;
    v.bytes = std::move(value);
    return v;
  }

  // This value as a by-reference argument.
  static Variant Ref(Variant value) {
    value.byRef = true;
    return value;
  }

  bool IsEmpty() const { return vt == kVtEmpty; }
  bool IsInteger() const { return vt == kVtI2 || vt == kVtI4 || vt == kVtInt || vt == kVtUi1; }

  // Lenient readings used when a component answers a get: BOOL from VT_BOOL or a non-zero
  // integer; anything else (VT_EMPTY from a missing component included) reads as FALSE, 0 or
  // empty text.
  bool AsBool() const {
    if (vt == kVtBool) return b;
    if (IsInteger()) return i != 0;
    return false;
  }
  int32_t AsInt() const {
    if (IsInteger()) return i;
    if (vt == kVtBool) return b ? -1 : 0;
    return 0;
  }
  std::string AsText() const { return vt == kVtBstr ? text : std::string(); }

  // Equal type and equal value in the member that type uses.
  bool operator==(const Variant& other) const {
    if (vt != other.vt) return false;
    if (IsInteger()) return i == other.i;
    switch (vt) {
      case kVtR8: return d == other.d;
      case kVtBool: return b == other.b;
      case kVtBstr: return text == other.text;
      case kVtByteArray: return bytes == other.bytes;
      default: return true;
    }
  }
  bool operator!=(const Variant& other) const { return !(*this == other); }

 private:
  static Variant Integer(uint16_t type, int32_t value) {
    Variant v;
    v.vt = type;
    v.i = value;
    return v;
  }
};

}  // namespace pel
