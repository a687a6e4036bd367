#pragma once

#include <windows.h>
#include <oaidl.h>

#include "com/ComPtr.h"
#include "ports/Dispatch.h"

namespace pel::win {

// The core's dispatch port over a hosted component's IDispatch. A failed call reads as
// VT_EMPTY, as a component that is not there would; the HRESULT is kept for diagnostics.
class WinDispatchPort final : public IDispatchPort {
 public:
  explicit WinDispatchPort(com::ComPtr<IDispatch> dispatch);

  void PutProperty(int32_t dispid, const Variant& value) override;
  Variant GetProperty(int32_t dispid) override;
  // Arguments go by value with their own VARTYPE, as a component's declared parameters want
  // them (a component that checks types refuses anything else); those marked byRef go as
  // VT_VARIANT | VT_BYREF and are read back into `args` after the call.
  Variant CallMethod(int32_t dispid, std::vector<Variant>& args) override;

  HRESULT LastResult() const { return last_; }

 private:
  com::ComPtr<IDispatch> dispatch_;
  HRESULT last_ = S_OK;
};

}  // namespace pel::win
