#pragma once

#include "ports/SnapshotSystem.h"

namespace pel::win {

// The snapshot's system services on Windows: the OS version, the profile folder from
// SHFolder.dll's SHGetFolderPathA, local time, folders and files through the ANSI calls, and
// the Save As common dialog.
class WinSnapshotSystem final : public ISnapshotSystem {
 public:
  std::optional<int> OsMajorVersion() override;
  std::optional<std::string> ProfileFolder() override;
  LocalTime Now() override;
  bool FolderExists(const std::string& path) override;
  bool CreateFolder(const std::string& path) override;
  bool WriteNewFile(const std::string& path, const uint8_t* data, size_t size) override;
  std::optional<std::string> AskSaveAsPath(const SaveAsRequest& request) override;
};

}  // namespace pel::win
