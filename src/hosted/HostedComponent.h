#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "hosted/NullDispatch.h"
#include "ports/Dispatch.h"

namespace pel {

// Base of the thin wrappers around hosted components: typed puts, gets and calls by DISPID
// over a dispatch port. Without a component (null port) every call goes to NullDispatch.
class HostedComponent {
 public:
  explicit HostedComponent(IDispatchPort* dispatch = nullptr) { Attach(dispatch); }

  // Binds the wrapper to a created component, or to none (null).
  void Attach(IDispatchPort* dispatch) {
    dispatch_ = dispatch ? dispatch : &NullDispatch::Instance();
    created_ = dispatch != nullptr;
  }
  bool IsCreated() const { return created_; }

 protected:
  void Put(int32_t dispid, const Variant& value) { dispatch_->PutProperty(dispid, value); }
  void PutBool(int32_t dispid, bool value) { Put(dispid, Variant::Bool(value)); }
  void PutLong(int32_t dispid, int32_t value) { Put(dispid, Variant::I4(value)); }
  void PutText(int32_t dispid, const std::string& value) { Put(dispid, Variant::Bstr(value)); }
  bool GetBool(int32_t dispid) { return dispatch_->GetProperty(dispid).AsBool(); }
  int32_t GetLong(int32_t dispid) { return dispatch_->GetProperty(dispid).AsInt(); }
  std::string GetText(int32_t dispid) { return dispatch_->GetProperty(dispid).AsText(); }

  Variant Call(int32_t dispid, std::vector<Variant> args = {}) {
    return dispatch_->CallMethod(dispid, args);
  }
  Variant CallWithRefs(int32_t dispid, std::vector<Variant>& args) {
    return dispatch_->CallMethod(dispid, args);
  }

  // The DISPID of camera 1..6 in a six-member family, or -1 for any other camera number.
  static int32_t CameraDispid(const int32_t (&family)[6], int camera) {
    return camera >= 1 && camera <= 6 ? family[camera - 1] : -1;
  }
  // Puts into member 1..6 of a family; other numbers put nothing.
  void PutFamily(const int32_t (&family)[6], int camera, const Variant& value) {
    const int32_t dispid = CameraDispid(family, camera);
    if (dispid >= 0) Put(dispid, value);
  }

 private:
  IDispatchPort* dispatch_ = nullptr;
  bool created_ = false;
};

}  // namespace pel
