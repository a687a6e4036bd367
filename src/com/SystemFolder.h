#pragma once

#include <windows.h>

#include <string>

namespace pel::com {

// `name` in the system folder ("C:\Windows\system32\<name>"; a 32-bit process on 64-bit
// Windows is redirected to its own system folder), or empty text when the folder is unknown.
// The system's programs and libraries are taken from there only: a bare name would be looked
// for first beside the process's program and in the current folder, where anybody may have
// put a file of that name.
std::string SystemFolderPath(const std::string& name);

// The system folder's library `name`, loaded by its full path, its own imports looked for in
// that folder first; null when it cannot be loaded.
HMODULE LoadSystemLibrary(const std::string& name);

}  // namespace pel::com
