#include "control/win/com/RegKey.h"

#include <objbase.h>

namespace pel::com {

LONG RegKey::Create(HKEY parent, const std::wstring& path) {
  Close();
  return RegCreateKeyExW(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                         KEY_READ | KEY_WRITE, nullptr, &key_, nullptr);
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

std::optional<std::wstring> RegKey::GetString(const std::wstring& name) const {
  const wchar_t* value_name = name.empty() ? nullptr : name.c_str();
  DWORD type = 0;
  DWORD bytes = 0;
  if (RegQueryValueExW(key_, value_name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return std::nullopt;
  }
  std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
  bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
  if (RegQueryValueExW(key_, value_name, nullptr, &type, reinterpret_cast<BYTE*>(value.data()),
                       &bytes) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.resize(bytes / sizeof(wchar_t));
  while (!value.empty() && value.back() == L'\0') value.pop_back();
  return value;
}

bool RegKey::HasSubKeys() const {
  DWORD subkeys = 0;
  if (RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr,
                       nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  return subkeys != 0;
}

LONG DeleteKeyTree(HKEY root, const std::wstring& path) {
  const LONG result = RegDeleteTreeW(root, path.c_str());
  if (result == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
  if (result != ERROR_SUCCESS) return result;
  // RegDeleteTree empties the key; the key itself goes separately.
  const LONG removed = RegDeleteKeyW(root, path.c_str());
  return removed == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : removed;
}

bool KeyExists(HKEY root, const std::wstring& path) {
  RegKey key;
  return key.Open(root, path) == ERROR_SUCCESS;
}

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

HRESULT WriteRegistryValues(HKEY root, const std::vector<RegistryValue>& values) {
  for (const RegistryValue& v : values) {
    RegKey key;
    LONG result = key.Create(root, v.key);
    if (result == ERROR_SUCCESS) result = key.SetString(v.name, v.data);
    if (result != ERROR_SUCCESS) return HRESULT_FROM_WIN32(result);
  }
  return S_OK;
}

HRESULT DeleteRegistryTrees(HKEY root, const std::vector<std::wstring>& keys) {
  for (const std::wstring& k : keys) {
    const LONG result = DeleteKeyTree(root, k);
    if (result != ERROR_SUCCESS) return HRESULT_FROM_WIN32(result);
  }
  return S_OK;
}

}  // namespace pel::com
