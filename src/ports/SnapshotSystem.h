#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace pel {

// A local time as the system reports it.
struct LocalTime {
  int year = 0;    // four digits
  int month = 0;   // 1..12
  int day = 0;
  int hour = 0;    // 0..23
  int minute = 0;
  int second = 0;
};

// What the Save As dialog is asked with. The shell shows it without an owner window, with the
// options "prompt before overwriting", "path must exist" and "long names".
struct SaveAsRequest {
  std::string defaultExtension;  // "jpg" or "bmp"
  std::string initialName;
  std::string filter;            // "JPEG Files (*.jpg)|*.jpg||" or "Bitmap Files (*.bmp)|*.bmp||"
};

// The system services a snapshot needs. The Windows shell implements them with the OS version
// query, SHGetFolderPathA (CSIDL_PROFILE, loaded once from "SHFolder.dll"), GetLocalTime,
// CreateDirectoryA, CreateFileA and the Save As common dialog.
class ISnapshotSystem {
 public:
  virtual ~ISnapshotSystem() = default;

  // The OS major version; nothing when the query fails.
  virtual std::optional<int> OsMajorVersion() = 0;
  // The user's profile folder; nothing when the shell folder function cannot be loaded or
  // fails.
  virtual std::optional<std::string> ProfileFolder() = 0;
  virtual LocalTime Now() = 0;
  virtual bool FolderExists(const std::string& path) = 0;
  virtual bool CreateFolder(const std::string& path) = 0;
  // Creates or truncates the file (write only) and writes `size` bytes; false when it cannot
  // be created or not every byte was written.
  virtual bool WriteNewFile(const std::string& path, const uint8_t* data, size_t size) = 0;
  // The path the user confirmed, nothing when cancelled.
  virtual std::optional<std::string> AskSaveAsPath(const SaveAsRequest& request) = 0;
};

}  // namespace pel
