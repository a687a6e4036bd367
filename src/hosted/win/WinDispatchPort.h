#pragma once

#include <windows.h>
#include <oaidl.h>

#include "control/win/com/ComPtr.h"
#include "ports/Dispatch.h"

namespace pel::win {

// The core's dispatch port over a hosted component's IDispatch. A failed call reads as
// VT_EMPTY, as a component that is not there would; the HRESULT is kept for diagnostics.
class WinDispatchPort final : public IDispatchPort {
 public:
  explicit WinDispatchPort(com::ComPtr<IDispatch> dispatch);

  void PutProperty(int32_t dispid, const Variant& value) override;
  Variant GetProperty(int32_t dispid) override;
  // Every argument goes as VT_VARIANT | VT_BYREF, as script hosts pass variables, so that a
  // component that writes through a VARIANT* parameter is read back into `args`.
  Variant CallMethod(int32_t dispid, std::vector<Variant>& args) override;

  HRESULT LastResult() const { return last_; }

 private:
  com::ComPtr<IDispatch> dispatch_;
  HRESULT last_ = S_OK;
};

}  // namespace pel::win
