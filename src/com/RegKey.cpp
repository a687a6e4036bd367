#include "com/RegKey.h"

#include <objbase.h>

#include <algorithm>

namespace pel::com {

LONG RegKey::Create(HKEY parent, const std::wstring& path, REGSAM view) {
  Close();
  return RegCreateKeyExW(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                         KEY_READ | KEY_WRITE | view, nullptr, &key_, nullptr);
}

LONG RegKey::Open(HKEY parent, const std::wstring& path, REGSAM access) {
  Close();
  return RegOpenKeyExW(parent, path.c_str(), 0, access, &key_);
}

void RegKey::Close() {
  if (HKEY key = std::exchange(key_, nullptr)) RegCloseKey(key);
}

LONG RegKey::SetString(const std::wstring& name, const std::wstring& value) {
  const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(key_, name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(value.c_str()), bytes);
}

bool RegKey::HasSubKeys() const {
  DWORD subkeys = 0;
  if (RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr,
                       nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  return subkeys != 0;
}

bool RegKey::HasValues() const {
  DWORD values = 0;
  if (RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                       nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  return values != 0;
}

LONG DeleteKeyTree(HKEY root, const std::wstring& path) {
  const LONG result = RegDeleteTreeW(root, path.c_str());
  if (result == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
  if (result != ERROR_SUCCESS) return result;
  // RegDeleteTree empties the key; the key itself goes separately.
  const LONG removed = RegDeleteKeyW(root, path.c_str());
  return removed == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : removed;
}

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

HRESULT WriteRegistryValues(HKEY root, const std::vector<RegistryValue>& values, REGSAM view) {
  for (const RegistryValue& v : values) {
    RegKey key;
    LONG result = key.Create(root, v.key, view);
    if (result == ERROR_SUCCESS) result = key.SetString(v.name, v.data);
    if (result != ERROR_SUCCESS) return HRESULT_FROM_WIN32(result);
  }
  return S_OK;
}

namespace {

size_t Depth(const std::wstring& path) {
  return static_cast<size_t>(std::count(path.begin(), path.end(), L'\\'));
}

// Deletes the key when it holds neither values nor subkeys.
LONG RemoveKeyIfEmpty(HKEY root, const std::wstring& path, REGSAM view) {
  RegKey key;
  const LONG opened = key.Open(root, path, KEY_READ | view);
  if (opened == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
  if (opened != ERROR_SUCCESS) return opened;
  if (key.HasSubKeys() || key.HasValues()) return ERROR_SUCCESS;
  key.Close();
  const LONG removed = RegDeleteKeyExW(root, path.c_str(), view, 0);
  return removed == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : removed;
}

}  // namespace

HRESULT RemoveRegistryValues(HKEY root, const std::vector<RegistryValue>& values, REGSAM view) {
  LONG first = ERROR_SUCCESS;
  auto note = [&first](LONG result) {
    if (first == ERROR_SUCCESS && result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) {
      first = result;
    }
  };
  std::vector<std::wstring> keys;
  for (const RegistryValue& v : values) {
    RegKey key;
    const LONG opened = key.Open(root, v.key, KEY_SET_VALUE | view);
    if (opened == ERROR_SUCCESS) {
      note(RegDeleteValueW(key.Get(), v.name.empty() ? nullptr : v.name.c_str()));
    } else {
      note(opened);
    }
    for (size_t end = v.key.find(L'\\'); end != std::wstring::npos;
         end = v.key.find(L'\\', end + 1)) {
      keys.push_back(v.key.substr(0, end));
    }
    keys.push_back(v.key);
  }
  // Deepest first, so that a parent is looked at once its children are gone; the same key
  // (in any case) once.
  auto order = [](const std::wstring& a, const std::wstring& b) {
    if (Depth(a) != Depth(b)) return Depth(a) > Depth(b);
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_LESS_THAN;
  };
  std::sort(keys.begin(), keys.end(), order);
  keys.erase(std::unique(keys.begin(), keys.end(),
                         [&](const std::wstring& a, const std::wstring& b) {
                           return !order(a, b) && !order(b, a);
                         }),
             keys.end());
  for (const std::wstring& path : keys) note(RemoveKeyIfEmpty(root, path, view));
  return first == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(first);
}

HRESULT DeleteRegistryTrees(HKEY root, const std::vector<std::wstring>& keys) {
  for (const std::wstring& k : keys) {
    const LONG result = DeleteKeyTree(root, k);
    if (result != ERROR_SUCCESS) return HRESULT_FROM_WIN32(result);
  }
  return S_OK;
}

}  // namespace pel::com
