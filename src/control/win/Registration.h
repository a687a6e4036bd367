#pragma once

#include <windows.h>

#include <string>

namespace pel::win {

// DllRegisterServer and DllUnregisterServer of Pelioran.ocx: the machine-wide registration
// below HKEY_CLASSES_ROOT.
HRESULT RegisterPelioran();
HRESULT UnregisterPelioran();

// DllInstall: the command "user" registers (or, with `install` false, unregisters) the
// control for the calling user alone, below HKEY_CURRENT_USER\Software\Classes, with the same
// entries as the machine-wide registration; no administrator rights are needed. An empty
// command does nothing (regsvr32 /i without /n has called DllRegisterServer already); any
// other command is E_INVALIDARG.
HRESULT InstallPelioran(bool install, const std::wstring& command);

}  // namespace pel::win
