#pragma once

#include <windows.h>
#include <oleauto.h>

#include <vector>

#include "Member.h"

namespace strict {

// What an accepted IDispatch::Invoke does.
enum class Action { kGet, kPut, kCall };

struct Verdict {
  HRESULT hr;      // S_OK, or what Invoke answers
  Action action;   // when accepted
  UINT argErr;     // with DISP_E_TYPEMISMATCH: the refused argument's index in rgvarg
};

// Judges a call as a component built from a type library does, without coercion: a put is
// one argument named DISPID_PROPERTYPUT of exactly the property's type; a get has no
// arguments; a method call has exactly its declared arguments, unnamed, each of exactly its
// declared VARTYPE (a VT_VARIANT|VT_BYREF one pointing somewhere). `member` null: unknown.
Verdict JudgeInvoke(const Member* member, WORD flags, const DISPPARAMS& params);

// rgvarg in declared order (rgvarg holds the arguments last to first).
std::vector<VARIANT*> DeclaredOrder(const DISPPARAMS& params);

}  // namespace strict
