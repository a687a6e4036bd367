#pragma once

#include <windows.h>

#include <vector>

#include "control/win/com/ClassRegistration.h"

namespace pel::win {

// The module's two classes as self-registration writes them: the control and its property
// page.
std::vector<com::ClassRegistration> PelioranClasses();

// DllRegisterServer and DllUnregisterServer of Pelioran.ocx.
HRESULT RegisterPelioran();
HRESULT UnregisterPelioran();

}  // namespace pel::win
