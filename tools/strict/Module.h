#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace strict {

// The DLL's instance and its count of live objects and server locks, which decides
// DllCanUnloadNow.
void SetModuleInstance(HINSTANCE instance);
HINSTANCE ModuleInstance();
void LockModule();
void UnlockModule();
bool ModuleInUse();

// Counts one live object of the module for as long as it exists.
class ModuleLock {
 public:
  ModuleLock() { LockModule(); }
  ModuleLock(const ModuleLock&) = delete;
  ModuleLock& operator=(const ModuleLock&) = delete;
  ~ModuleLock() { UnlockModule(); }
};

// An environment variable's text, empty when it is not set.
std::wstring EnvText(const wchar_t* name);
// Comma-separated integers from the environment (as many as read).
std::vector<int> EnvInts(const wchar_t* name);
int EnvInt(const wchar_t* name, int def);

}  // namespace strict
