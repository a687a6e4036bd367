#include "com/ClassRegistration.h"

#include <oleauto.h>
#include <olectl.h>

#include "com/ComPtr.h"

namespace pel::com {

std::vector<RegistryValue> ClassRegistryValues(const ClassRegistration& cls,
                                               const std::wstring& modulePath) {
  const std::wstring clsid = GuidText(*cls.clsid);
  const std::wstring key = L"CLSID\\" + clsid;
  std::vector<RegistryValue> values = {
      {key, L"", cls.typeName},
      {key + L"\\InprocServer32", L"", modulePath},
      {key + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
  };
  if (!cls.progId.empty()) {
    values.push_back({key + L"\\ProgID", L"", cls.progId});
    values.push_back({cls.progId, L"", cls.typeName});
    values.push_back({cls.progId + L"\\CLSID", L"", clsid});
  }
  if (cls.control) {
    const std::wstring status = std::to_wstring(cls.miscStatus);
    values.push_back({key + L"\\Control", L"", L""});
    values.push_back({key + L"\\MiscStatus", L"", status});
    values.push_back({key + L"\\MiscStatus\\1", L"", status});
    if (cls.toolboxBitmap != 0) {
      values.push_back({key + L"\\ToolboxBitmap32", L"",
                        modulePath + L", " + std::to_wstring(cls.toolboxBitmap)});
    }
  }
  if (cls.typeLib) values.push_back({key + L"\\TypeLib", L"", GuidText(*cls.typeLib)});
  if (!cls.version.empty()) values.push_back({key + L"\\Version", L"", cls.version});
  return values;
}

std::vector<std::wstring> ClassRegistryKeys(const ClassRegistration& cls) {
  std::vector<std::wstring> keys = {L"CLSID\\" + GuidText(*cls.clsid)};
  if (!cls.progId.empty()) keys.push_back(cls.progId);
  return keys;
}

HRESULT RegisterClasses(const std::vector<ClassRegistration>& classes,
                        const std::wstring& modulePath) {
  for (const ClassRegistration& cls : classes) {
    const HRESULT hr = WriteRegistryValues(HKEY_CLASSES_ROOT, ClassRegistryValues(cls, modulePath));
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

HRESULT UnregisterClasses(const std::vector<ClassRegistration>& classes) {
  for (const ClassRegistration& cls : classes) {
    const HRESULT hr = DeleteRegistryTrees(HKEY_CLASSES_ROOT, ClassRegistryKeys(cls));
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

HRESULT RegisterModuleTypeLib(const std::wstring& path) {
  ComPtr<ITypeLib> lib;
  HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, lib.Put());
  if (FAILED(hr)) return hr;
  std::wstring writable = path;  // RegisterTypeLib takes non-const text
  wchar_t noHelpFolder[] = L"";
  return RegisterTypeLib(lib.Get(), writable.data(), noHelpFolder);
}

namespace {
// Removes `path` when nothing is left below it (neither subkeys nor a registration).
void RemoveIfEmpty(const std::wstring& path) {
  RegKey key;
  if (key.Open(HKEY_CLASSES_ROOT, path) != ERROR_SUCCESS || key.HasSubKeys()) return;
  key.Close();
  RegDeleteKeyW(HKEY_CLASSES_ROOT, path.c_str());
}
}  // namespace

HRESULT UnregisterModuleTypeLib(REFGUID libid, WORD major, WORD minor) {
#ifdef _WIN64
  const SYSKIND kind = SYS_WIN64;
#else
  const SYSKIND kind = SYS_WIN32;
#endif
  const HRESULT hr = UnRegisterTypeLib(libid, major, minor, LOCALE_NEUTRAL, kind);
  if (FAILED(hr)) return hr;
  const std::wstring lib = L"TypeLib\\" + GuidText(libid);
  const std::wstring version = lib + L"\\" + std::to_wstring(major) + L"." + std::to_wstring(minor);
  RemoveIfEmpty(version + L"\\" + std::to_wstring(LOCALE_NEUTRAL));
  RemoveIfEmpty(version);
  RemoveIfEmpty(lib);
  return S_OK;
}

HRESULT RunSelfRegistration(const std::function<HRESULT()>& typeLibStep,
                            const std::function<HRESULT()>& classStep) {
  if (FAILED(typeLibStep())) return SELFREG_E_TYPELIB;
  if (FAILED(classStep())) return SELFREG_E_CLASS;
  return S_OK;
}

}  // namespace pel::com
