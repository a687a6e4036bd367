#pragma once

#include <string>

namespace pel::msicheck {

// Writes what the control's registration and Windows Installer's bookkeeping hold in the
// registry, in both registry views, to `file` (UTF-8, one sorted line per key and value):
//   K <view> <key>
//   V <view> <key> <value name> <type> <data>
// (tab-separated, each field escaped as a report field). The keys: the control's classes,
// ProgIDs, type library and dispinterfaces below the machine's and the user's classes, the
// names of the user's top-level class keys, and the installer's product, feature, component
// and uninstall entries.
bool DumpRegistry(const std::wstring& file);

}  // namespace pel::msicheck
