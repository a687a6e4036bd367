#pragma once

#include <windows.h>
#include <unknwn.h>

#include <memory>

#include "Verdict.h"

namespace hostile {

// The reference count of a COM object the driver hands to the control. The driver owns the
// object and frees it itself; the count only tells whether the control kept a reference
// (more than the driver's one after the call) or released one it never took (fewer).
// Release never frees, so a control that over-releases cannot make the driver touch freed
// memory, and a control that keeps a reference gets an object that stays valid (the driver
// then leaves it allocated).
class RefCounter {
 public:
  ULONG AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  ULONG Release() {
    const LONG n = InterlockedDecrement(&refs_);
    if (n < lowest_) lowest_ = n;
    return static_cast<ULONG>(n < 0 ? 0 : n);
  }
  LONG Refs() const { return refs_; }
  // Whether the count ever fell below the driver's own reference.
  bool OverReleased() const { return lowest_ < 1; }
  // Back to the driver's one reference, after a fault was reported.
  void Reset() {
    refs_ = 1;
    lowest_ = 1;
  }

 private:
  LONG refs_ = 1;
  LONG lowest_ = 1;
};

// After a call: whether the control let go of `object` (the driver's reference is the only
// one left, and never was there less). If not, reports it; an object the control still holds
// stays allocated, for the control may call it later.
template <typename T>
bool LetGo(std::unique_ptr<T>& object, const char* what) {
  RefCounter& count = object->Count();
  if (count.Refs() == 1 && !count.OverReleased()) return true;
  Fault("the %s's count is %ld after the call, %s (the driver holds 1)", what, count.Refs(),
        count.OverReleased() ? "and fell below 1" : "so the control kept it");
  if (count.Refs() != 1) object.release();
  return false;
}

}  // namespace hostile
