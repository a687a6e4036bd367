#include "hosted/win/WinDispatchPort.h"

#include <utility>

#include "control/win/VariantConvert.h"
#include "control/win/com/ComVariant.h"

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
  // rgvarg holds the arguments last to first.
  std::vector<VARIANT> refs(count);
  for (size_t k = 0; k < count; ++k) {
    VARIANT& ref = refs[count - 1 - k];
    VariantInit(&ref);
    V_VT(&ref) = VT_VARIANT | VT_BYREF;
    V_VARIANTREF(&ref) = values[k].Get();
  }
  DISPPARAMS params = {refs.empty() ? nullptr : refs.data(), nullptr,
                       static_cast<UINT>(count), 0};
  com::ComVariant result;
  last_ = dispatch_->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                            result.Get(), nullptr, nullptr);
  if (FAILED(last_)) return Variant{};
  for (size_t k = 0; k < count; ++k) args[k] = FromComVariant(*values[k].Get());
  return FromComVariant(*result.Get());
}

}  // namespace pel::win
