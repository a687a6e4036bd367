#pragma once

#include <windows.h>
#include <oleauto.h>

namespace pel::com {

// An owned VARIANT, cleared with VariantClear.
class ComVariant {
 public:
  ComVariant() { VariantInit(&v_); }
  ComVariant(const ComVariant&) = delete;
  ComVariant& operator=(const ComVariant&) = delete;
  ~ComVariant() { VariantClear(&v_); }

  VARIANT* Get() { return &v_; }
  const VARIANT* Get() const { return &v_; }
  VARIANT* operator->() { return &v_; }
  const VARIANT* operator->() const { return &v_; }
  // Clears what is held and gives the variant to an out parameter.
  VARIANT* Put() {
    VariantClear(&v_);
    return &v_;
  }

  HRESULT CopyFrom(const VARIANT& source) {
    return VariantCopy(&v_, const_cast<VARIANT*>(&source));
  }
  // Converts in place (invariant locale, so that "1.5" and "TRUE" read the same everywhere).
  HRESULT ChangeType(VARTYPE vt) {
    return VariantChangeTypeEx(&v_, &v_, LOCALE_INVARIANT, 0, vt);
  }
  // Moves the content to `target` (which must be cleared or empty) and leaves this empty.
  void MoveTo(VARIANT* target) {
    *target = v_;
    VariantInit(&v_);
  }

 private:
  VARIANT v_;
};

}  // namespace pel::com
