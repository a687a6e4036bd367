#include "pane/win/WinSnapshotSystem.h"

#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <vector>

#include "com/SystemFolder.h"

namespace pel::win {

namespace {

using SHGetFolderPathAFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);

// SHFolder.dll stays loaded for the life of the process once a snapshot needed it: the
// function pointer is reused by every later snapshot.
SHGetFolderPathAFn ShellFolderFunction() {
  static const SHGetFolderPathAFn function = []() -> SHGetFolderPathAFn {
    HMODULE module = com::LoadSystemLibrary("SHFolder.dll");
    if (!module) return nullptr;
    return reinterpret_cast<SHGetFolderPathAFn>(
        reinterpret_cast<void*>(GetProcAddress(module, "SHGetFolderPathA")));
  }();
  return function;
}

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (valid()) CloseHandle(handle_);
  }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

// The common dialog's filter: "|" separators become the NULs it expects, ending with two.
std::vector<char> DialogFilter(const std::string& filter) {
  std::vector<char> out(filter.begin(), filter.end());
  for (char& c : out) {
    if (c == '|') c = '\0';
  }
  out.push_back('\0');
  out.push_back('\0');
  return out;
}

}  // namespace

std::optional<int> WinSnapshotSystem::OsMajorVersion() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info);
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
  const BOOL ok = GetVersionExA(&info);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
  if (!ok) return std::nullopt;
  return static_cast<int>(info.dwMajorVersion);
}

std::optional<std::string> WinSnapshotSystem::ProfileFolder() {
  const SHGetFolderPathAFn function = ShellFolderFunction();
  if (!function) return std::nullopt;
  char path[MAX_PATH + 1] = {};
  if (FAILED(function(nullptr, CSIDL_PROFILE, nullptr, SHGFP_TYPE_CURRENT, path))) {
    return std::nullopt;
  }
  path[MAX_PATH] = '\0';
  return std::string(path);
}

LocalTime WinSnapshotSystem::Now() {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  return LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

bool WinSnapshotSystem::FolderExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool WinSnapshotSystem::CreateFolder(const std::string& path) {
  return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

bool WinSnapshotSystem::WriteNewFile(const std::string& path, const uint8_t* data, size_t size) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  while (size > 0) {
    const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(file.get(), data, chunk, &written, nullptr) || written == 0) return false;
    data += written;
    size -= written;
  }
  return true;
}

std::optional<std::string> WinSnapshotSystem::AskSaveAsPath(const SaveAsRequest& request) {
  std::vector<char> name(MAX_PATH + 1, '\0');
  request.initialName.copy(name.data(), MAX_PATH);
  const std::vector<char> filter = DialogFilter(request.filter);
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = nullptr;
  ofn.lpstrFilter = filter.data();
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrDefExt = request.defaultExtension.c_str();
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_LONGNAMES | OFN_EXPLORER;
  if (!GetSaveFileNameA(&ofn)) return std::nullopt;
  return std::string(name.data());
}

}  // namespace pel::win
