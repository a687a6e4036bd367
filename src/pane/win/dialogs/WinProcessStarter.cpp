#include "pane/win/dialogs/WinProcessStarter.h"

#include <windows.h>

#include <memory>
#include <type_traits>
#include <vector>

#include "com/SystemFolder.h"

namespace pel::win {

namespace {
struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using OwnedHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

// The command line with its program named by a full path. A program given without a folder
// ("rundll32.exe") is the system folder's; one given with a folder stays as it is. Empty when
// the system folder is unknown.
std::string WithProgramPath(const std::string& commandLine) {
  const bool quoted = !commandLine.empty() && commandLine[0] == '"';
  const size_t end = quoted ? commandLine.find('"', 1) : commandLine.find(' ');
  const std::string program =
      quoted ? commandLine.substr(1, end == std::string::npos ? end : end - 1)
             : commandLine.substr(0, end);
  if (program.empty() || program.find_first_of("\\/:") != std::string::npos) return commandLine;
  const std::string rest =
      end == std::string::npos ? std::string() : commandLine.substr(quoted ? end + 1 : end);
  std::string path = com::SystemFolderPath(program);
  if (path.empty()) return path;
  if (path.find(' ') != std::string::npos) path = '"' + path + '"';
  return path + rest;
}
}  // namespace

bool WinProcessStarter::StartProcess(const std::string& commandLine) {
  const std::string full = WithProgramPath(commandLine);
  if (full.empty()) return false;
  // CreateProcessA may write into the command line.
  std::vector<char> line(full.begin(), full.end());
  line.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    return false;
  }
  const OwnedHandle process(info.hProcess);
  const OwnedHandle thread(info.hThread);
  return true;
}

}  // namespace pel::win
