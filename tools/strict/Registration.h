#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace strict {

struct ClassName {
  const CLSID* clsid;
  const wchar_t* name;
};

// Each class as an apartment-threaded in-process control served by `module`.
HRESULT RegisterClasses(const std::vector<ClassName>& classes, const std::wstring& module);
// Removes the classes that `module` serves; a class registered to another DLL (the other
// family under the same class IDs) stays.
HRESULT UnregisterClasses(const std::vector<ClassName>& classes, const std::wstring& module);

}  // namespace strict
