#pragma once

#include <windows.h>
#include <unknwn.h>

namespace pel::win {

// What HostedControl::Create answers for a component that must not be hosted here; the
// callers treat it as a component that is not installed.
constexpr HRESULT kComponentBlocked = HRESULT_FROM_WIN32(ERROR_ACCESS_DISABLED_BY_POLICY);

// True when an administrator has set the component's kill bit: bit 0x400 of the DWORD
// "Compatibility Flags" under HKLM\Software\Microsoft\Internet Explorer\ActiveX
// Compatibility\{CLSID}, in the 64-bit or the 32-bit registry view.
bool HasKillBit(REFCLSID clsid);

// True when the component says through IObjectSafety, as a browser asks it, that it is safe
// for scripting (IDispatch) and for initialising from the page's data (IPersistPropertyBag,
// else IPersistStreamInit); the options are enabled on the way. False without IObjectSafety.
bool ReportsSafeForPage(IUnknown* component);

}  // namespace pel::win
