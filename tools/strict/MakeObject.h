#pragma once

#include <new>
#include <utility>

#include "ComRef.h"

namespace strict {

using hostkit::ComRef;

// A new COM object whose first reference (a count of 1 at construction) the result adopts;
// empty when memory ran out.
template <class T, class... Args>
ComRef<T> MakeObject(Args&&... args) {
  return ComRef<T>(new (std::nothrow) T(std::forward<Args>(args)...));
}

}  // namespace strict
