#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pel {

// The current user's browser proxy setting: values under HKEY_CURRENT_USER\<kKey>. The Windows
// shell reads them with RegOpenKeyEx / RegQueryValueEx (ANSI) and closes the key after each
// read; tests hold the values in memory. The port only reports what the registry holds; what
// counts as a usable value is decided by the caller.
class IBrowserProxySetting {
 public:
  static constexpr const char* kKey =
      "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
  static constexpr const char* kProxyEnable = "ProxyEnable";
  static constexpr const char* kProxyServer = "ProxyServer";
  static constexpr const char* kProxyOverride = "ProxyOverride";

  // Registry value types (REG_*) that matter here.
  static constexpr std::uint32_t kTypeString = 1;          // REG_SZ
  static constexpr std::uint32_t kTypeExpandString = 2;    // REG_EXPAND_SZ
  static constexpr std::uint32_t kTypeBinary = 3;          // REG_BINARY
  static constexpr std::uint32_t kTypeDword = 4;           // REG_DWORD

  struct Value {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> bytes;  // the stored data, terminating NUL included if stored
  };

  virtual ~IBrowserProxySetting() = default;

  // The named value, or nothing when the key or the value cannot be read.
  virtual std::optional<Value> ReadValue(const std::string& name) = 0;
};

}  // namespace pel
