#include "com/SystemFolder.h"

#include <vector>

namespace pel::com {

std::string SystemFolderPath(const std::string& name) {
  const UINT needed = GetSystemDirectoryA(nullptr, 0);
  if (needed == 0) return std::string();
  std::vector<char> folder(needed + 1, '\0');
  const UINT length = GetSystemDirectoryA(folder.data(), static_cast<UINT>(folder.size()));
  if (length == 0 || length >= folder.size()) return std::string();
  std::string path(folder.data(), length);
  if (path.back() != '\\') path += '\\';
  return path + name;
}

HMODULE LoadSystemLibrary(const std::string& name) {
  const std::string path = SystemFolderPath(name);
  if (path.empty()) return nullptr;
  return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace pel::com
