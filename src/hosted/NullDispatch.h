#pragma once

#include "ports/Dispatch.h"

namespace pel {

// Stands in for a component that could not be created: puts are dropped, gets and calls give
// VT_EMPTY (read as FALSE, 0 or empty text) and by-reference arguments stay as they were.
class NullDispatch final : public IDispatchPort {
 public:
  void PutProperty(int32_t, const Variant&) override {}
  Variant GetProperty(int32_t) override { return Variant{}; }
  Variant CallMethod(int32_t, std::vector<Variant>&) override { return Variant{}; }

  // One shared instance: it has no state.
  static NullDispatch& Instance() {
    static NullDispatch instance;
    return instance;
  }
};

}  // namespace pel
