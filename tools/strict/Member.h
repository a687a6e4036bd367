#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <vector>

namespace strict {

// One member of a component's dispatch interface, as its type library would declare it.
struct Member {
  DISPID id;
  std::wstring name;
  bool method;
  VARTYPE type;                 // a property's type, or a method's result (VT_EMPTY: none)
  std::vector<VARTYPE> params;  // a method's parameters, first to last
  bool canGet;
  bool canPut;
};

inline Member Property(DISPID id, std::wstring name, VARTYPE type) {
  return {id, std::move(name), false, type, {}, true, true};
}
inline Member ReadOnly(DISPID id, std::wstring name, VARTYPE type) {
  return {id, std::move(name), false, type, {}, true, false};
}
inline Member Method(DISPID id, std::wstring name, VARTYPE result,
                     std::vector<VARTYPE> params = {}) {
  return {id, std::move(name), true, result, std::move(params), false, false};
}
// Six properties name1..name6 at the given DISPIDs (cameras 1 to 6).
inline void AddFamily(std::vector<Member>& members, const DISPID (&ids)[6],
                      const std::wstring& stem, VARTYPE type) {
  for (int k = 0; k < 6; ++k) members.push_back(Property(ids[k], stem + std::to_wstring(k + 1), type));
}

}  // namespace strict
