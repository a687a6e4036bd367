#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace pel::com {

// An open registry key, closed when the holder goes.
class RegKey {
 public:
  RegKey() = default;
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  RegKey(RegKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
  RegKey& operator=(RegKey&& other) noexcept {
    if (this != &other) {
      Close();
      key_ = std::exchange(other.key_, nullptr);
    }
    return *this;
  }
  ~RegKey() { Close(); }

  // Win32 error codes (ERROR_SUCCESS on success). `view` picks a registry view
  // (KEY_WOW64_32KEY or KEY_WOW64_64KEY), 0 for the process's own.
  LONG Create(HKEY parent, const std::wstring& path, REGSAM view = 0);
  LONG Open(HKEY parent, const std::wstring& path, REGSAM access = KEY_READ);
  void Close();

  HKEY Get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }

  // An empty name means the key's default value.
  LONG SetString(const std::wstring& name, const std::wstring& value);
  bool HasSubKeys() const;
  bool HasValues() const;

 private:
  HKEY key_ = nullptr;
};

// Deletes `path` below `root` with all its subkeys; success when it does not exist.
LONG DeleteKeyTree(HKEY root, const std::wstring& path);

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
std::wstring GuidText(REFGUID guid);

// One value to write: the key below the root, the value name (empty for the default value)
// and its text.
struct RegistryValue {
  std::wstring key;
  std::wstring name;
  std::wstring data;
};

// Writes every value below `root` (in registry view `view`, 0 for the process's own); the
// first failure as an HRESULT.
HRESULT WriteRegistryValues(HKEY root, const std::vector<RegistryValue>& values,
                            REGSAM view = 0);
// Undoes WriteRegistryValues as an installer does: deletes each value, then every key on the
// way from a value up to `root` that holds nothing any more. Values and keys that are not
// there are no failure; anything else is left where it is.
HRESULT RemoveRegistryValues(HKEY root, const std::vector<RegistryValue>& values,
                             REGSAM view = 0);
// Deletes every key tree below `root`; the first failure as an HRESULT.
HRESULT DeleteRegistryTrees(HKEY root, const std::vector<std::wstring>& keys);

}  // namespace pel::com
