#pragma once

#include <windows.h>

#include <string>

namespace pel::com {

// The DLL (or program) that holds the COM classes: its instance handle and the module-wide
// count of live objects and server locks that DllCanUnloadNow reports.
void SetModuleInstance(HINSTANCE instance);
HINSTANCE ModuleInstance();
// The full path of the module file.
std::wstring ModulePath();

// A string resource of the module, empty when there is none.
std::wstring LoadModuleString(UINT id);

void LockModule();
void UnlockModule();
bool ModuleInUse();

// Holds one module lock for as long as it lives (a member of every COM object).
class ModuleLock {
 public:
  ModuleLock() { LockModule(); }
  ModuleLock(const ModuleLock&) : ModuleLock() {}
  ModuleLock& operator=(const ModuleLock&) = default;
  ~ModuleLock() { UnlockModule(); }
};

}  // namespace pel::com
