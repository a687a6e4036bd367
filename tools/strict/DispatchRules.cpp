#include "DispatchRules.h"

namespace strict {

namespace {

Verdict Refuse(HRESULT hr, UINT argErr = 0) { return {hr, Action::kGet, argErr}; }
Verdict Accept(Action action) { return {S_OK, action, 0}; }

Verdict JudgePut(const Member& member, const DISPPARAMS& params) {
  if (!member.canPut) return Refuse(DISP_E_MEMBERNOTFOUND);
  if (params.cArgs != 1 || params.cNamedArgs != 1 || !params.rgdispidNamedArgs ||
      params.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT || !params.rgvarg) {
    return Refuse(DISP_E_BADPARAMCOUNT);
  }
  if (V_VT(&params.rgvarg[0]) != member.type) return Refuse(DISP_E_TYPEMISMATCH, 0);
  return Accept(Action::kPut);
}

Verdict JudgeCall(const Member& member, const DISPPARAMS& params) {
  if (params.cNamedArgs != 0 || params.cArgs != member.params.size() ||
      (params.cArgs > 0 && !params.rgvarg)) {
    return Refuse(DISP_E_BADPARAMCOUNT);
  }
  for (UINT k = 0; k < params.cArgs; ++k) {
    const UINT at = params.cArgs - 1 - k;
    const VARIANT& arg = params.rgvarg[at];
    const VARTYPE wanted = member.params[k];
    if (V_VT(&arg) != wanted) return Refuse(DISP_E_TYPEMISMATCH, at);
    if ((wanted & VT_BYREF) && !V_BYREF(&arg)) return Refuse(DISP_E_TYPEMISMATCH, at);
  }
  return Accept(Action::kCall);
}

}  // namespace

Verdict JudgeInvoke(const Member* member, WORD flags, const DISPPARAMS& params) {
  if (!member) return Refuse(DISP_E_MEMBERNOTFOUND);
  if (member->method) {
    // DISPATCH_PROPERTYGET may come along with DISPATCH_METHOD (a script reading a result).
    if (!(flags & DISPATCH_METHOD)) return Refuse(DISP_E_MEMBERNOTFOUND);
    return JudgeCall(*member, params);
  }
  if (flags & DISPATCH_PROPERTYPUT) return JudgePut(*member, params);
  if (flags & DISPATCH_PROPERTYGET) {
    if (!member->canGet) return Refuse(DISP_E_MEMBERNOTFOUND);
    if (params.cArgs != 0 || params.cNamedArgs != 0) return Refuse(DISP_E_BADPARAMCOUNT);
    return Accept(Action::kGet);
  }
  // DISPATCH_PROPERTYPUTREF, or a property called as a method.
  return Refuse(DISP_E_MEMBERNOTFOUND);
}

std::vector<VARIANT*> DeclaredOrder(const DISPPARAMS& params) {
  std::vector<VARIANT*> args;
  if (!params.rgvarg) return args;
  for (UINT k = params.cArgs; k > 0; --k) args.push_back(&params.rgvarg[k - 1]);
  return args;
}

}  // namespace strict
