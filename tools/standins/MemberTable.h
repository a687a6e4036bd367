#pragma once

#include <string>
#include <vector>

#include "com/DispatchTable.h"

namespace pel::standin {

// Builders for the stand-ins' member tables.
inline com::DispMember Property(DISPID id, std::wstring name, VARTYPE type) {
  return {id, std::move(name), com::MemberKind::kProperty, type, {}};
}
inline com::DispMember Method(DISPID id, std::wstring name, VARTYPE result,
                              std::vector<VARTYPE> params = {}) {
  return {id, std::move(name), com::MemberKind::kMethod, result, std::move(params)};
}
// A six-member family: name1..name6 at the given DISPIDs.
inline void AddFamily(std::vector<com::DispMember>& members, const int32_t (&ids)[6],
                      const std::wstring& stem, VARTYPE type) {
  for (int k = 0; k < 6; ++k) {
    members.push_back(Property(ids[k], stem + std::to_wstring(k + 1), type));
  }
}

// An integer from the environment, `def` when it is not set or not a number.
int EnvInt(const wchar_t* name, int def);
// Comma-separated integers from the environment.
std::vector<int> EnvInts(const wchar_t* name);

}  // namespace pel::standin
