#include "control/win/RegistryProxySetting.h"

#include <windows.h>

namespace pel::win {

std::optional<IBrowserProxySetting::Value> RegistryProxySetting::ReadValue(
    const std::string& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::optional<Value> out;
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
    Value v;
    v.type = type;
    v.bytes.resize(size);
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, v.bytes.data(), &size) ==
        ERROR_SUCCESS) {
      v.bytes.resize(size);
      out = std::move(v);
    }
  }
  RegCloseKey(key);
  return out;
}

}  // namespace pel::win
