#include "pane/SnapshotFiles.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace pel {

namespace {

bool ForbiddenInName(unsigned char c) {
  return c < 0x20 || std::strchr("<>:\"/\\|?*", c) != nullptr;
}

bool IsReservedDeviceName(const std::string& base) {
  static const char* const kNames[] = {"CON", "PRN", "AUX", "NUL"};
  std::string upper;
  for (char c : base) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (const char* name : kNames) {
    if (upper == name) return true;
  }
  return upper.size() == 4 && (upper.compare(0, 3, "COM") == 0 || upper.compare(0, 3, "LPT") == 0) &&
         upper[3] >= '1' && upper[3] <= '9';
}

bool EnsureFolder(ISnapshotSystem& system, const std::string& path) {
  return system.FolderExists(path) || system.CreateFolder(path);
}

}  // namespace

std::string SnapshotFileName(const LocalTime& time, int camera, bool jpeg) {
  char name[96];
  std::snprintf(name, sizeof name, "%04d%02d%02d_%02dh%02dm%02ds_cam%d.%s", time.year, time.month,
                time.day, time.hour, time.minute, time.second, camera, jpeg ? "jpg" : "bmp");
  return name;
}

bool IsWindowsVistaOrLater(ISnapshotSystem& system) {
  const std::optional<int> major = system.OsMajorVersion();
  return major && *major >= 6;
}

std::string SnapshotFolderName(const std::string& serverTag) {
  std::string name = serverTag;
  for (char& c : name) {
    if (ForbiddenInName(static_cast<unsigned char>(c))) c = '-';
  }
  for (size_t i = name.size(); i > 0 && (name[i - 1] == '.' || name[i - 1] == ' '); --i) {
    name[i - 1] = '-';
  }
  const size_t dot = name.find('.');
  std::string base = name.substr(0, dot);
  while (!base.empty() && base.back() == ' ') base.pop_back();
  if (IsReservedDeviceName(base)) name.insert(base.size(), "-");
  return name;
}

std::string GetSnapshotFolder(ISnapshotSystem& system, const std::string& serverTag) {
  const std::optional<std::string> profile = system.ProfileFolder();
  if (!profile) return std::string();
  std::string path = *profile;
  if (path.size() <= 2) return path;
  if (!EnsureFolder(system, path)) return std::string();
  const std::string folder = SnapshotFolderName(serverTag);
  for (const char* level : {"AppData", "LocalLow", "Norvane Works", "Pelioran", folder.c_str()}) {
    if (*level == '\0') continue;
    path += "\\";
    path += level;
    if (!EnsureFolder(system, path)) return std::string();
  }
  return path;
}

}  // namespace pel
