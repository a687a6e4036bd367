#include "control/win/Registration.h"

#include <olectl.h>

#include <vector>

#include "PelioranVersion.h"
#include "control/ControlProperties.h"
#include "control/win/Identities.h"
#include "com/ClassRegistration.h"
#include "com/Module.h"
#include "com/RegKey.h"

// Stored pages and files carry the control's version as their persisted property version;
// the product's version source may move the patch number only.
static_assert(((PEL_VERSION_MAJOR << 16) | PEL_VERSION_MINOR) == pel::kPersistVersion,
              "packaging/VERSION must keep the control's major.minor version");

namespace pel::win {
namespace {

enum class Part { kClass, kTypeLib, kInterface };

struct Entry {
  Part part;
  const wchar_t* key;
  const wchar_t* name;
  const wchar_t* data;
};

#define PEL_CLASS(key, name, data) {Part::kClass, L"" key, L"" name, L"" data},
#define PEL_TYPELIB(key, name, data) {Part::kTypeLib, L"" key, L"" name, L"" data},
#define PEL_INTERFACE(key, name, data) {Part::kInterface, L"" key, L"" name, L"" data},
const Entry kEntries[] = {
#include "control/win/Registration.inc"
};
#undef PEL_CLASS
#undef PEL_TYPELIB
#undef PEL_INTERFACE

#ifdef _WIN64
constexpr const wchar_t* kSysKind = L"win64";
#else
constexpr const wchar_t* kSysKind = L"win32";
#endif

void ReplaceAll(std::wstring& text, const std::wstring& from, const std::wstring& to) {
  for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

std::wstring Expand(const wchar_t* pattern, const std::wstring& modulePath) {
  std::wstring text = pattern;
  ReplaceAll(text, L"{MODULE}", modulePath);
  ReplaceAll(text, L"{SYSKIND}", kSysKind);
  const std::wstring stringToken = L"{STRING:";
  for (size_t at = text.find(stringToken); at != std::wstring::npos; at = text.find(stringToken)) {
    const size_t end = text.find(L'}', at);
    if (end == std::wstring::npos) break;
    const UINT id = static_cast<UINT>(std::stoul(text.substr(at + stringToken.size())));
    text.replace(at, end + 1 - at, com::LoadModuleString(id));
  }
  return text;
}

std::vector<com::RegistryValue> Values(Part part, const std::wstring& modulePath) {
  std::vector<com::RegistryValue> values;
  for (const Entry& e : kEntries) {
    if (e.part == part) {
      values.push_back({Expand(e.key, modulePath), Expand(e.name, modulePath),
                        Expand(e.data, modulePath)});
    }
  }
  return values;
}

// The key trees that machine-wide unregistration deletes: each class's CLSID entry and the
// ProgID.
std::vector<std::wstring> ClassTrees() {
  std::vector<std::wstring> trees;
  for (const com::RegistryValue& v : Values(Part::kClass, L"")) {
    const bool clsid = v.key.compare(0, 6, L"CLSID\\") == 0;
    const std::wstring tree = v.key.substr(0, v.key.find(L'\\', clsid ? 6 : 0));
    bool known = false;
    for (const std::wstring& t : trees) known = known || t == tree;
    if (!known) trees.push_back(tree);
  }
  return trees;
}

// The registry view of the other word size, where RegisterTypeLib also describes the
// dispinterfaces; 0 when there is none.
REGSAM OtherView() {
#ifdef _WIN64
  return KEY_WOW64_32KEY;
#else
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64 ? KEY_WOW64_64KEY : 0;
#endif
}

HRESULT WriteTypeLibForUser(HKEY classes, const std::wstring& path) {
  HRESULT hr = com::WriteRegistryValues(classes, Values(Part::kTypeLib, path));
  if (SUCCEEDED(hr)) hr = com::WriteRegistryValues(classes, Values(Part::kInterface, path));
  if (SUCCEEDED(hr) && OtherView() != 0) {
    hr = com::WriteRegistryValues(classes, Values(Part::kInterface, path), OtherView());
  }
  return hr;
}

HRESULT RemoveTypeLibForUser(HKEY classes, const std::wstring& path) {
  HRESULT hr = com::RemoveRegistryValues(classes, Values(Part::kInterface, path));
  if (OtherView() != 0) {
    const HRESULT other =
        com::RemoveRegistryValues(classes, Values(Part::kInterface, path), OtherView());
    if (SUCCEEDED(hr)) hr = other;
  }
  const HRESULT lib = com::RemoveRegistryValues(classes, Values(Part::kTypeLib, path));
  return SUCCEEDED(hr) ? lib : hr;
}

// The per-user registration writes the type library's entries itself: Wine's
// RegisterTypeLibForUser registers machine-wide, and writing them from the same lines as the
// packages keeps the user's entries identical to the machine's.
HRESULT RegisterForUser() {
  com::RegKey classes;
  if (classes.Create(HKEY_CURRENT_USER, L"Software\\Classes") != ERROR_SUCCESS) {
    return SELFREG_E_TYPELIB;
  }
  const std::wstring path = com::ModulePath();
  return com::RunSelfRegistration(
      [&] { return WriteTypeLibForUser(classes.Get(), path); },
      [&] { return com::WriteRegistryValues(classes.Get(), Values(Part::kClass, path)); });
}

HRESULT UnregisterForUser() {
  com::RegKey classes;
  const LONG opened = classes.Open(HKEY_CURRENT_USER, L"Software\\Classes", KEY_ALL_ACCESS);
  if (opened == ERROR_FILE_NOT_FOUND) return S_OK;
  if (opened != ERROR_SUCCESS) return SELFREG_E_TYPELIB;
  const std::wstring path = com::ModulePath();
  return com::RunSelfRegistration(
      [&] { return RemoveTypeLibForUser(classes.Get(), path); },
      [&] { return com::RemoveRegistryValues(classes.Get(), Values(Part::kClass, path)); });
}

}  // namespace

HRESULT RegisterPelioran() {
  const std::wstring path = com::ModulePath();
  return com::RunSelfRegistration(
      [&] { return com::RegisterModuleTypeLib(path); },
      [&] { return com::WriteRegistryValues(HKEY_CLASSES_ROOT, Values(Part::kClass, path)); });
}

HRESULT UnregisterPelioran() {
  return com::RunSelfRegistration(
      [] { return com::UnregisterModuleTypeLib(LIBID_PELIORANLib, kTypeLibMajor, kTypeLibMinor); },
      [] { return com::DeleteRegistryTrees(HKEY_CLASSES_ROOT, ClassTrees()); });
}

HRESULT InstallPelioran(bool install, const std::wstring& command) {
  if (command.empty()) return S_OK;
  if (CompareStringOrdinal(command.c_str(), -1, L"user", -1, TRUE) == CSTR_EQUAL) {
    return install ? RegisterForUser() : UnregisterForUser();
  }
  return E_INVALIDARG;
}

}  // namespace pel::win
