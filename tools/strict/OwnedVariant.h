#pragma once

#include <oleauto.h>

namespace strict {

// A VARIANT this code owns: cleared when it goes.
class OwnedVariant {
 public:
  OwnedVariant() { VariantInit(&v_); }
  explicit OwnedVariant(const VARIANT& value) : OwnedVariant() {
    VariantCopy(&v_, const_cast<VARIANT*>(&value));
  }
  OwnedVariant(const OwnedVariant& other) : OwnedVariant(other.v_) {}
  OwnedVariant& operator=(const OwnedVariant& other) {
    if (this != &other) VariantCopy(&v_, const_cast<VARIANT*>(&other.v_));
    return *this;
  }
  ~OwnedVariant() { VariantClear(&v_); }

  static OwnedVariant Long(LONG value) {
    OwnedVariant out;
    V_VT(&out.v_) = VT_I4;
    V_I4(&out.v_) = value;
    return out;
  }
  static OwnedVariant Short(SHORT value) {
    OwnedVariant out;
    V_VT(&out.v_) = VT_I2;
    V_I2(&out.v_) = value;
    return out;
  }

  const VARIANT& Get() const { return v_; }
  VARIANT* Ptr() { return &v_; }

 private:
  VARIANT v_;
};

}  // namespace strict
