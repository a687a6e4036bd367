#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "com/RegKey.h"

namespace pel::com {

// What self-registration writes for one in-process class below HKEY_CLASSES_ROOT.
struct ClassRegistration {
  const CLSID* clsid = nullptr;
  std::wstring typeName;            // CLSID\{clsid} default value
  std::wstring progId;              // empty: no ProgID entries
  bool control = false;             // the "Control" key and the entries below
  DWORD miscStatus = 0;             // MiscStatus and MiscStatus\1 (controls)
  int toolboxBitmap = 0;            // ToolboxBitmap32 resource id, 0 for none (controls)
  const GUID* typeLib = nullptr;    // TypeLib entry, null for none
  std::wstring version;             // Version entry, empty for none
};

std::vector<RegistryValue> ClassRegistryValues(const ClassRegistration& cls,
                                               const std::wstring& modulePath);
// The key trees that unregistration removes: the CLSID entry and the ProgID entry.
std::vector<std::wstring> ClassRegistryKeys(const ClassRegistration& cls);

HRESULT RegisterClasses(const std::vector<ClassRegistration>& classes,
                        const std::wstring& modulePath);
HRESULT UnregisterClasses(const std::vector<ClassRegistration>& classes);

// The type library held as TYPELIB resource 1 of the module at `path`, with an empty help
// folder: given none, RegisterTypeLib makes one up from the module's folder, which an
// installer's registry table cannot write (its folders end in a backslash).
HRESULT RegisterModuleTypeLib(const std::wstring& path);
// Removes the registration of this build's word size (win32 or win64); the library's keys go
// when no other registration is left in them.
HRESULT UnregisterModuleTypeLib(REFGUID libid, WORD major, WORD minor);

// Self-registration in two steps: the type library, then the classes. Stops at the first
// failing step: SELFREG_E_TYPELIB (0x80040200) or SELFREG_E_CLASS (0x80040201).
HRESULT RunSelfRegistration(const std::function<HRESULT()>& typeLibStep,
                            const std::function<HRESULT()>& classStep);

}  // namespace pel::com
