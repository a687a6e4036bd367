#include "hosted/win/WinDispatchPort.h"

#include <utility>

#include "com/VariantConvert.h"
#include "com/ComVariant.h"

namespace pel::win {

WinDispatchPort::WinDispatchPort(com::ComPtr<IDispatch> dispatch)
    : dispatch_(std::move(dispatch)) {}

void WinDispatchPort::PutProperty(int32_t dispid, const Variant& value) {
  if (!dispatch_) return;
  com::ComVariant arg;
  last_ = ToComVariant(value, arg.Get());
  if (FAILED(last_)) return;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params = {arg.Get(), &named, 1, 1};
  last_ = dispatch_->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params,
                            nullptr, nullptr, nullptr);
}

Variant WinDispatchPort::GetProperty(int32_t dispid) {
  if (!dispatch_) return Variant{};
  com::ComVariant result;
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  last_ = dispatch_->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                            result.Get(), nullptr, nullptr);
  return SUCCEEDED(last_) ? FromComVariant(*result.Get()) : Variant{};
}

Variant WinDispatchPort::CallMethod(int32_t dispid, std::vector<Variant>& args) {
  if (!dispatch_) return Variant{};
  const size_t count = args.size();
  std::vector<com::ComVariant> values(count);
  for (size_t k = 0; k < count; ++k) {
    last_ = ToComVariant(args[k], values[k].Get());
    if (FAILED(last_)) return Variant{};
  }
  // rgvarg holds the arguments last to first. By-value arguments are shallow copies of the
  // owned values: the callee must not free them, and they are cleared only through `values`.
  std::vector<VARIANT> passed(count);
  for (size_t k = 0; k < count; ++k) {
    VARIANT& arg = passed[count - 1 - k];
    if (args[k].byRef) {
      VariantInit(&arg);
      V_VT(&arg) = VT_VARIANT | VT_BYREF;
      V_VARIANTREF(&arg) = values[k].Get();
    } else {
      arg = *values[k].Get();
    }
  }
  DISPPARAMS params = {passed.empty() ? nullptr : passed.data(), nullptr,
                       static_cast<UINT>(count), 0};
  com::ComVariant result;
  last_ = dispatch_->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                            result.Get(), nullptr, nullptr);
  if (FAILED(last_)) return Variant{};
  for (size_t k = 0; k < count; ++k) {
    if (args[k].byRef) args[k] = FromComVariant(*values[k].Get());
  }
  return FromComVariant(*result.Get());
}

}  // namespace pel::win
