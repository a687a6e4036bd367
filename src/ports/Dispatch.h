#pragma once

#include <cstdint>
#include <vector>

#include "ports/Variant.h"

namespace pel {

// A hosted ActiveX component as the core drives it: through its dispatch interface, by DISPID.
// The Windows shell implements this over IDispatch::Invoke; tests record the calls.
class IDispatchPort {
 public:
  virtual ~IDispatchPort() = default;

  // DISPATCH_PROPERTYPUT with one argument.
  virtual void PutProperty(int32_t dispid, const Variant& value) = 0;

  // DISPATCH_PROPERTYGET; VT_EMPTY when the component gives nothing.
  virtual Variant GetProperty(int32_t dispid) = 0;

  // DISPATCH_METHOD. `args` are in the order of the method's parameter list; an argument the
  // method takes by reference (VARIANT*) may be overwritten by the component.
  virtual Variant CallMethod(int32_t dispid, std::vector<Variant>& args) = 0;
};

}  // namespace pel
