#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstddef>
#include <string>
#include <vector>

namespace pel::com {

enum class MemberKind { kProperty, kMethod };

// One dispatch member: a property (read and written with `type`) or a method (parameters in
// declaration order; VT_VARIANT | VT_BYREF for a VARIANT* parameter; `type` is the result,
// VT_EMPTY for none).
struct DispMember {
  DISPID id;
  std::wstring name;
  MemberKind kind;
  VARTYPE type;
  std::vector<VARTYPE> params;
};

// What a dispatch table calls once a call has been checked and its arguments coerced.
class DispatchTarget {
 public:
  virtual ~DispatchTarget() = default;
  // `result` is cleared; the getter fills it with the property's type.
  virtual HRESULT GetMember(const DispMember& member, VARIANT* result) = 0;
  // `value` already has the property's type.
  virtual HRESULT PutMember(const DispMember& member, const VARIANT& value) = 0;
  // `args` in declaration order: by-value parameters coerced to their types, VARIANT*
  // parameters the caller's own variant. `result` is cleared.
  virtual HRESULT CallMember(const DispMember& member, const std::vector<VARIANT*>& args,
                             VARIANT* result) = 0;
};

class DispatchTable {
 public:
  explicit DispatchTable(std::vector<DispMember> members) : members_(std::move(members)) {}

  const DispMember* Find(DISPID id) const;
  const DispMember* Find(const wchar_t* name) const;  // case-insensitive
  const std::vector<DispMember>& Members() const { return members_; }

  // IDispatch::GetIDsOfNames for a member name (no parameter names).
  HRESULT GetIDsOfNames(LPOLESTR* names, UINT count, DISPID* ids) const;

  // IDispatch::Invoke: finds the member, checks the call's kind and arguments, coerces them
  // and calls the target. Unknown DISPIDs give DISP_E_MEMBERNOTFOUND, a wrong argument count
  // DISP_E_BADPARAMCOUNT, an argument that cannot be coerced DISP_E_TYPEMISMATCH (a number
  // beyond the type's range DISP_E_OVERFLOW, a NaN into a number or BOOL a mismatch), with its
  // position in `argErr`.
  HRESULT Invoke(DispatchTarget& target, DISPID id, LCID lcid, WORD flags, DISPPARAMS* params,
                 VARIANT* result, UINT* argErr) const;

 private:
  std::vector<DispMember> members_;
};

}  // namespace pel::com
