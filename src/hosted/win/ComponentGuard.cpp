#include "hosted/win/ComponentGuard.h"

#include <objsafe.h>
#include <ocidl.h>

#include <string>

#include "com/ComPtr.h"
#include "com/RegKey.h"

namespace pel::win {

namespace {

constexpr DWORD kKillBit = 0x400;

bool KillBitInView(const std::wstring& path, REGSAM view) {
  com::RegKey key;
  if (key.Open(HKEY_LOCAL_MACHINE, path, KEY_QUERY_VALUE | view) != ERROR_SUCCESS) return false;
  DWORD flags = 0;
  DWORD type = 0;
  DWORD size = sizeof flags;
  return RegQueryValueExW(key.Get(), L"Compatibility Flags", nullptr, &type,
                          reinterpret_cast<BYTE*>(&flags), &size) == ERROR_SUCCESS &&
         type == REG_DWORD && size == sizeof flags && (flags & kKillBit) != 0;
}

// One interface's safety as a browser settles it: the option must be supported and then
// accepted when asked for.
bool SafeFor(IObjectSafety* safety, REFIID iid, DWORD option) {
  DWORD supported = 0;
  DWORD enabled = 0;
  if (FAILED(safety->GetInterfaceSafetyOptions(iid, &supported, &enabled))) return false;
  if ((supported & option) == 0) return false;
  return SUCCEEDED(safety->SetInterfaceSafetyOptions(iid, option, option));
}

}  // namespace

bool HasKillBit(REFCLSID clsid) {
  const std::wstring path =
      L"Software\\Microsoft\\Internet Explorer\\ActiveX Compatibility\\" + com::GuidText(clsid);
  return KillBitInView(path, KEY_WOW64_64KEY) || KillBitInView(path, KEY_WOW64_32KEY);
}

bool ReportsSafeForPage(IUnknown* component) {
  com::ComPtr<IObjectSafety> safety;
  if (!component ||
      FAILED(component->QueryInterface(IID_IObjectSafety, safety.PutVoid())) || !safety) {
    return false;
  }
  return SafeFor(safety.Get(), IID_IDispatch, INTERFACESAFE_FOR_UNTRUSTED_CALLER) &&
         (SafeFor(safety.Get(), IID_IPersistPropertyBag, INTERFACESAFE_FOR_UNTRUSTED_DATA) ||
          SafeFor(safety.Get(), IID_IPersistStreamInit, INTERFACESAFE_FOR_UNTRUSTED_DATA));
}

}  // namespace pel::win
